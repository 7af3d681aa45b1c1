#include "QtDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QRegularExpression>

namespace {

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case Dialogs::Critical: return QMessageBox::Critical;
    case Dialogs::Question: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case Dialogs::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The prompts use long runs of blanks to break lines in a narrow box; show
// each run as a line break so the text reads the same at any width.
QString readable(const QString& prompt)
{
    static const QRegularExpression run(QStringLiteral(" {8,}"));
    QString text = prompt;
    return text.replace(run, QStringLiteral("\n"));
}

QWidget* parentWindow()
{
    return QApplication::activeWindow();
}

} // namespace

void QtDialogs::message(const QString& text, const QString& title, int style)
{
    QMessageBox box(iconFor(style), title, readable(text), QMessageBox::Ok, parentWindow());
    box.exec();
}

QString QtDialogs::input(const QString& prompt, const QString& title, const QString& defaultAnswer)
{
    QInputDialog dialog(parentWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(readable(prompt));
    dialog.setTextValue(defaultAnswer);
    dialog.setMinimumWidth(420);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

QString QtDialogs::inputWithChoice(const QString& prompt, const QString& title, const QString& defaultAnswer,
                                   const QString& choice, bool* chosen)
{
    *chosen = false;
    QDialog dialog(parentWindow());
    dialog.setWindowTitle(title);
    dialog.setMinimumWidth(420);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(readable(prompt), &dialog));
    auto* answer = new QLineEdit(defaultAnswer, &dialog);
    answer->selectAll();
    layout->addWidget(answer);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* extra = buttons->addButton(choice, QDialogButtonBox::ActionRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(extra, &QPushButton::clicked, &dialog, [&] {
        *chosen = true;
        dialog.reject();
    });
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return answer->text();
}

QString QtDialogs::saveFileName(const QString& title, const QString& suggestion)
{
    return QFileDialog::getSaveFileName(parentWindow(), title, suggestion);
}
