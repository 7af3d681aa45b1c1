#pragma once

#include "Dialogs.h"

#include <QHash>
#include <QPointer>

class QMessageBox;
class QWidget;

// Production dialogs: QMessageBox, QInputDialog and QFileDialog. Notices
// are message boxes shown without a modal loop.
class QtDialogs final : public Dialogs {
public:
    QtDialogs() = default;
    // Closes the notices still on screen.
    ~QtDialogs() override;
    QtDialogs(const QtDialogs&) = delete;
    QtDialogs& operator=(const QtDialogs&) = delete;

    void message(const QString& text, const QString& title, int style) override;
    // A window of its own, not modal and not activated when it appears, so
    // the keyboard stays where it was (Escape stops everything) and the
    // STOP button stays clickable; OK closes it.
    void notice(const QString& key, const QString& text, const QString& title, int style) override;
    // The notice on screen under `key`; null when there is none.
    QMessageBox* shownNotice(const QString& key) const;
    QString input(const QString& prompt, const QString& title, const QString& defaultAnswer) override;
    QString inputWithChoice(const QString& prompt, const QString& title, const QString& defaultAnswer,
                            const QString& choice, bool* chosen) override;
    QString saveFileName(const QString& title, const QString& suggestion) override;

private:
    // Closed notices delete themselves; the pointer then reads null.
    QHash<QString, QPointer<QMessageBox>> notices_;
};
