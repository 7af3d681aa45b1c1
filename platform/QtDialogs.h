#pragma once

#include "Dialogs.h"

class QWidget;

// Production dialogs: QMessageBox and QInputDialog.
class QtDialogs final : public Dialogs {
public:
    void message(const QString& text, const QString& title, int style) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultAnswer) override;
};
