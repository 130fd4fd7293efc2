// The exception family and the string helpers every unit shares.
// Strings are UTF-8 inside; helpers follow Windows rules (case-insensitive names,
// backslash paths) and convert to the Windows ANSI code pages where files need it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

// Base of every exception the system raises on purpose. Message is what a user sees.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }

private:
    std::string FMessage;
};

// Ends the current operation quietly; handlers never show it to the user.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
    explicit EAbort(std::string message) : Exception(std::move(message)) {}
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Raises EAbort.
[[noreturn]] void Abort();

// Case-insensitive comparison of ASCII letters, as Windows compares names.
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
std::string Trim(std::string_view s);
bool StartsText(std::string_view prefix, std::string_view s);

std::string IntToStr(std::int64_t value);
// Raises EConvertError "'x' is not a valid integer value" for anything but an optional
// sign and decimal digits that fit in 32 bits.
int StrToInt(std::string_view s);
bool TryStrToInt(std::string_view s, int& value);

// Path helpers on backslash paths. A drive ("C:") and UNC prefixes count as directories.
std::string ExtractFilePath(std::string_view path);  // up to and including the last '\' or ':'
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);   // with the dot, empty when there is none
std::string ExtractFileDrive(std::string_view path); // "C:" or "\\server\share"
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);

// Windows ANSI code pages used on disk: 1252 (Western) and 1255 (Hebrew).
// Characters with no place in the code page become '?'.
std::string Utf8ToAnsi(std::string_view utf8, int codePage);
std::string AnsiToUtf8(std::string_view ansi, int codePage);

// UTF-8 <-> UTF-16 for the wide Windows API; invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// Code points, for text that is edited a character at a time.
std::u32string Utf8ToUtf32(std::string_view utf8);
std::string Utf32ToUtf8(std::u32string_view utf32);

// a × b / c rounded to the nearest integer, halves away from zero, as Windows computes it;
// -1 when c is 0.
int MulDiv(int a, int b, int c);

// Splits on CR LF, LF CR, LF or CR; a final line break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Round-half-to-even of a/b*100; 0 when b is 0.
int PercentOf(std::int64_t a, std::int64_t b);

}  // namespace rt
