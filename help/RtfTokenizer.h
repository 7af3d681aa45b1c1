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
    std::int32_t parameter = 0; // within +-MaxParameter

    // Every number stays within this, so that no sum, difference or negation
    // of two of them can overflow. RTF's own values are 16-bit for almost
    // every word; the byte counts of \bin are the widest.
    static constexpr std::int32_t MaxParameter = 100'000'000;
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
