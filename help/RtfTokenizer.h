#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

// One lexical item of an RTF stream.
struct RtfToken {
    enum class Kind {
        End,           // no more input
        GroupOpen,     // {
        GroupClose,    // }
        ControlWord,   // \word or \wordN
        ControlSymbol, // \ followed by one non-letter, such as \~ or \*
        HexByte,       // \'hh
        Text,          // a run of plain bytes, line ends removed
    };

    Kind kind = Kind::End;
    QByteArray word;           // ControlWord: the letters
    bool hasParameter = false; // ControlWord: a number followed
    std::int32_t parameter = 0; // clamped to the 32-bit range
    char symbol = 0;           // ControlSymbol
    std::uint8_t byte = 0;     // HexByte
    QByteArrayView text;       // Text: a view into the input
};

// Splits RTF bytes into tokens. Every call consumes input, so reading to
// the end always finishes, whatever the bytes are.
class RtfTokenizer {
public:
    explicit RtfTokenizer(QByteArrayView input);

    RtfToken next();
    // Skips up to count raw bytes (the data of \binN).
    void skipBytes(std::int64_t count);
    bool atEnd() const { return position_ >= input_.size(); }

private:
    RtfToken readControl();

    QByteArrayView input_;
    qsizetype position_ = 0;
};
