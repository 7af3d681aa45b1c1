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

QtDialogs::~QtDialogs()
{
    for (const QPointer<QMessageBox>& box : std::as_const(notices_))
        delete box.data();
}

void QtDialogs::notice(const QString& key, const QString& text, const QString& title, int style)
{
    QMessageBox* box = shownNotice(key);
    if (!box) {
        // No parent: a notice outlives whichever window was active, and a
        // dialog closing under it does not take it along.
        box = new QMessageBox(iconFor(style), title, readable(text), QMessageBox::Ok);
        box->setWindowModality(Qt::NonModal);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setAttribute(Qt::WA_ShowWithoutActivating);
        notices_.insert(key, box);
    }
    box->setIcon(iconFor(style));
    box->setWindowTitle(title);
    box->setText(readable(text));
    box->show();
}

QMessageBox* QtDialogs::shownNotice(const QString& key) const
{
    return notices_.value(key).data();
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
