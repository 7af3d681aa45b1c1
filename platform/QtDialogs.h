#pragma once

#include "Dialogs.h"

class QWidget;

// Production dialogs: QMessageBox, QInputDialog and QFileDialog.
class QtDialogs final : public Dialogs {
public:
    void message(const QString& text, const QString& title, int style) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultAnswer) override;
    QString inputWithChoice(const QString& prompt, const QString& title, const QString& defaultAnswer,
                            const QString& choice, bool* chosen) override;
    QString saveFileName(const QString& title, const QString& suggestion) override;
};
