// Feeds arbitrary bytes to the RTF reader behind the help window. The reader
// must neither crash nor hang, and what it builds must be a sound document.
#include "../help/RtfReader.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text documents want a GUI application for their fonts; no screen needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The header is given so that most inputs reach the reader proper.
    QByteArray bytes("{\\rtf1 ");
    bytes.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    if (!rtf::read(bytes, document))
        __builtin_trap(); // it starts with the header, so it is RTF
    // Walk the result the way the help window uses it.
    const QString text = document.toPlainText();
    if (text.size() > bytes.size() * 2 + 16)
        __builtin_trap(); // output can never outgrow the input this much
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        (void)block.blockFormat().tabPositions();
    (void)document.find(QStringLiteral("Hardware"), 0);
    return 0;
}
