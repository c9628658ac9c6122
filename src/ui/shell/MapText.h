// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts from the map are bytes, not UTF-8: each byte is one character on
// screen and back, so a name survives a round trip through a widget exactly.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace quorin::ui {

inline QString FromMapText(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string ToMapText(const QString& text) { return text.toLatin1().toStdString(); }

// The position of the first character of text that has no byte in map text
// (past U+00FF), or -1 when every character has one. ToMapText would turn
// such a character into '?'.
inline qsizetype FirstWithoutMapByte(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() > 0xFF) return i;
    }
    return -1;
}

// A message of the core for a box. It quotes names byte for byte, so it is
// read as map text: a refusal shows the name as the fields show it.
inline QString MessageText(std::string_view message) { return FromMapText(message); }

// The words of an error of the core for a box: its paths are the file
// system's encoding, not map text, so each is decoded as a file name; the
// rest reads as map text.
inline QString MessageText(const Error& error) {
    QString text;
    for (const Error::Piece& piece : error.pieces) {
        switch (piece.kind) {
        case Error::Piece::Kind::Words:
            text += FromMapText(piece.text);
            break;
        case Error::Piece::Kind::Path:
            text += QFile::decodeName(QByteArray(piece.text.data(), static_cast<qsizetype>(piece.text.size())));
            break;
        case Error::Piece::Kind::Offset:
            text += FromMapText(OffsetText(piece.offset));
            break;
        }
    }
    return text;
}

}  // namespace quorin::ui
