#include "Form1a.h"

#include "ProgramFolder.h"
#include "RtfReader.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

const std::array<const char*, Form1a::TopicCount> Form1a::TopicCaptions = {
    "What is 3D-Tessaline?",
    "Connecting the PC Mimic to your railway",
    "Hardware",
    "Off-line",
    "Scroll layout",
    "Squares",
    "trash",
    "Save",
    "Move objects",
    "Create track",
    "Image",
    "Data",
    "Signals",
    "Section",
    "Label",
    "Entry Exit",
    "Text files",
    "Collision aversion",
    "Setting up a route",
    "Loco control form",
    "Control buttons and systems",
};

namespace {

// Client area at design: 11460 x 7230 twips.
constexpr int ClientWidthTw = 11460;
constexpr int ClientHeightTw = 7230;

} // namespace

Form1a::Form1a(const ProgramFolder& folder)
    : folder_(folder)
{
    setObjectName(QStringLiteral("Form1a"));
    setWindowTitle(QStringLiteral("3D-Tessaline HELP"));

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuContents = menuBar->addMenu(QStringLiteral("Contents"));
    mnuContents->setObjectName(QStringLiteral("mnuContents"));
    for (int i = 0; i < TopicCount; ++i) {
        QAction* item = mnuContents->addAction(QString::fromLatin1(TopicCaptions[static_cast<std::size_t>(i)]));
        item->setObjectName(QStringLiteral("mnuContent_%1").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { mnuContent_Click(i); });
        mnuContent[static_cast<std::size_t>(i)] = item;
    }

    RichTextBox = new QTextEdit(this);
    RichTextBox->setObjectName(QStringLiteral("RichTextBox"));
    RichTextBox->setFrameShape(QFrame::NoFrame);

    resize(twips::toPixels(ClientWidthTw), twips::toPixels(ClientHeightTw) + menuBar->sizeHint().height());
}

void Form1a::Form_Load()
{
    HelpPath = folder_.resolve(QStringLiteral("\\data\\text\\varnohelp.rtf"));
    show();
    // The manual is for reading: the view is locked against typing, and shows
    // no caret (the page keys still scroll it).
    RichTextBox->setReadOnly(true);
    RichTextBox->setTextInteractionFlags(Qt::TextSelectableByMouse);
    loadFile(HelpPath);
    loaded_ = true;
}

void Form1a::HelpFile(const QString& newPath)
{
    HelpPath = newPath;
    loadFile(HelpPath);
}

void Form1a::loadFile(const QString& path)
{
    QFile file(path);
    QString problem;
    // Read into a document of its own and hand it over whole: the view then
    // lays it out a piece at a time while the program stays responsive,
    // instead of all at once as the text arrives.
    auto* document = new QTextDocument(RichTextBox);
    document->setUndoRedoEnabled(false); // nothing to undo in a manual
    if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    else if (!rtf::read(file.readAll(), *document))
        problem = QStringLiteral("it is not a Rich Text Format document");
    // The view's first document belongs to the view and goes with the
    // swap; the later ones are this window's.
    QTextDocument* previous = RichTextBox->document();
    const bool ours = previous->parent() == RichTextBox;
    RichTextBox->setDocument(document);
    if (ours)
        delete previous;

    if (!problem.isEmpty()) {
        RichTextBox->setPlainText(QStringLiteral("The help document could not be read:\n\n%1\n\n(%2)\n\n"
                                                 "Varnolix looks for its manual, varnohelp.rtf, in the data/text "
                                                 "folder beside the program.")
                                      .arg(QDir::toNativeSeparators(path), problem));
    }
    HelpTextLength = static_cast<int>(RichTextBox->toPlainText().size());
    RichTextBox->moveCursor(QTextCursor::Start);
}

void Form1a::Form_Resize()
{
    // The client area lies below the menu bar.
    const int top = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, width(), top);
    RichTextBox->setGeometry(0, top, width(), std::max(0, height() - top));
}

void Form1a::mnuContent_Click(int Index)
{
    if (Index < 0 || Index >= TopicCount)
        return;
    const QString topic = mnuContent[static_cast<std::size_t>(Index)]->text();

    // From the end of the text, so that the view scrolls back up and the
    // found heading stands near the top of the window.
    QTextCursor end(RichTextBox->document());
    end.setPosition(std::clamp(HelpTextLength, 0, RichTextBox->document()->characterCount() - 1));
    RichTextBox->setTextCursor(end);
    RichTextBox->verticalScrollBar()->setValue(RichTextBox->verticalScrollBar()->maximum());

    // The whole document, letter case ignored; the first occurrence wins.
    const QTextCursor found = RichTextBox->document()->find(topic, 0);
    if (found.isNull())
        return;
    RichTextBox->setTextCursor(found);
    RichTextBox->ensureCursorVisible();
}

void Form1a::Form_QueryUnload(bool& Cancel, int UnloadMode)
{
    if (UnloadMode == UnloadByUser) {
        Cancel = true;
        hide();
    }
}

void Form1a::closeEvent(QCloseEvent* event)
{
    // The program never closes this window itself (it is destroyed with the
    // rest at the end), so a close always comes from the user.
    bool cancel = false;
    Form_QueryUnload(cancel, UnloadByUser);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void Form1a::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}
