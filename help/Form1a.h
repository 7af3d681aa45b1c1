#pragma once

#include <QString>
#include <QWidget>

#include <array>

class ProgramFolder;
class QAction;
class QMenu;
class QMenuBar;
class QTextEdit;

// The help window "3D-Tessaline HELP": the help document in a read-only
// rich-text view that fills the client area, and a "Contents" menu whose
// topics scroll their heading into view. Closing it only hides it, so the
// document and the scroll position are kept for the next request.
class Form1a : public QWidget {
    Q_OBJECT
public:
    static constexpr int TopicCount = 21;
    // The captions of mnuContent 0..20; each is found in the document as is.
    static const std::array<const char*, TopicCount> TopicCaptions;

    // The unload reason of a close the user asked for.
    static constexpr int UnloadByUser = 0;

    explicit Form1a(const ProgramFolder& folder);

    // Loads the help document beside the program and shows the window.
    void Form_Load();
    void Form_Resize();
    void Form_QueryUnload(bool& Cancel, int UnloadMode);
    void mnuContent_Click(int Index);

    // Loads another document in place of the current one; the window's
    // visibility does not change.
    void HelpFile(const QString& newPath);

    bool loaded() const { return loaded_; }

    QString HelpPath;
    int HelpTextLength = 0;

    QMenuBar* menuBar = nullptr;
    QMenu* mnuContents = nullptr;
    std::array<QAction*, TopicCount> mnuContent{};
    QTextEdit* RichTextBox = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadFile(const QString& path);

    const ProgramFolder& folder_;
    bool loaded_ = false;
};
