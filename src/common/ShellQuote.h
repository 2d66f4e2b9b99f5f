#pragma once
// Every value that goes into a shell line on the server passes through shellQuote() or one of
// the validators below, so no typed, stored or received text can steer the server's shell.
#include <QString>

namespace quillon {

// 'text' with every ' written as '\'' : one literal word for bash.
QString shellQuote(const QString& text);

// The text as it stands when a validator admitted it: it then holds nothing the shell reads
// specially, and the server gets the system's own bytes. shellQuote(text) otherwise.
QString plainOrQuoted(const QString& text, bool admitted);

// A plain account name: [a-z_][a-z0-9_.-]{0,31}, the whole text (no final line break).
bool isPlainAccountName(const QString& name);
// An absolute server path of A-Z a-z 0-9 . _ / - without "..".
bool isSafeServerPath(const QString& path);
// The longest file name the server's file systems hold.
constexpr int kMaxServerFileName = 255;
// A name that may stand as one file name on the server: letters, digits, _ - . ; not starting
// with . or -; at most `maxLength` characters.
bool isSafeFileName(const QString& name, int maxLength = 32);
// A control character: C0 (U+0000-U+001F), DEL and C1 (U+0080-U+009F). Windows-1252 keeps five
// C1 codes as bytes of their own (0x81 ...), so a check that stopped at DEL would let them
// reach a record or a shell line.
bool isControlCharacter(QChar c);
// A TCP port 1..65535 written in decimal.
bool isValidPort(const QString& port);

// Why a typed value cannot reach the server or the system's files, which hold Windows-1252
// text: the first character it holds without a Windows-1252 code ("Ł"), which would arrive
// as another, named with the field; empty when there is none.
QString windows1252Problem(const QString& field, const QString& text);

}  // namespace quillon
