#include "toolkit/text_file.h"

#include "toolkit/text.h"

#include "toolkit/handles.h"
#include "toolkit/numbered_table.h"
#include "toolkit/paths.h"
#include "toolkit/ui_objects.h"

#include <memory>

namespace {

constexpr size_t bufferSize = 4096;

}  // namespace

class TextFile {
public:
    explicit TextFile(HANDLE h) : file_(h) {}
    ~TextFile() { flush(); }

    // Everything written reached the file.
    bool finish() {
        flush();
        return !writeFailed_;
    }

    bool atEnd() {
        if (readPos_ < readEnd_) return false;
        fill();
        return readPos_ >= readEnd_;
    }

    int readByte() {
        if (atEnd()) return -1;
        return buffer_[readPos_++];
    }

    int peekByte() {
        if (atEnd()) return -1;
        return buffer_[readPos_];
    }

    void write(const std::string& bytes) {
        for (char c : bytes) {
            if (writeEnd_ == bufferSize) flush();
            buffer_[writeEnd_++] = static_cast<unsigned char>(c);
        }
    }

    void flush() {
        if (writeEnd_ == 0) return;
        DWORD written = 0;
        if (!WriteFile(file_.get(), buffer_, static_cast<DWORD>(writeEnd_), &written, nullptr) || written != writeEnd_)
            writeFailed_ = true;
        writeEnd_ = 0;
    }

    void skipByteOrderMark() {
        if (peekByte() == 0xEF && readEnd_ - readPos_ >= 3 && buffer_[readPos_ + 1] == 0xBB &&
            buffer_[readPos_ + 2] == 0xBF)
            readPos_ += 3;
    }

private:
    void fill() {
        DWORD got = 0;
        if (!ReadFile(file_.get(), buffer_, static_cast<DWORD>(bufferSize), &got, nullptr)) got = 0;
        readPos_ = 0;
        readEnd_ = got;
    }

    FileHandle file_;
    unsigned char buffer_[bufferSize];
    size_t readPos_ = 0, readEnd_ = 0, writeEnd_ = 0;
    bool writeFailed_ = false;
};

namespace {

NumberedTable<TextFile>& files = ui().files;

TextFile* findFile(int number) { return files.find(number); }

int adopt(int number, HANDLE h) {
    if (h == INVALID_HANDLE_VALUE) return 0;
    const int chosen = files.reserve(number);
    TextFileClose(chosen);
    files.put(chosen, std::make_unique<TextFile>(h));
    return number == anyFileNumber ? chosen : 1;
}

// Continuation bytes of a UTF-8 sequence; a malformed one becomes U+FFFD.
char32_t readCodePoint(TextFile& file, int lead) {
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead < 0x80) return static_cast<char32_t>(lead);
    if (extra == 0 || lead >= 0xF8) return 0xFFFD;
    char32_t code = static_cast<char32_t>(lead & (0x3F >> extra));
    for (int i = 0; i < extra; ++i) {
        int next = file.peekByte();
        if (next < 0 || (next & 0xC0) != 0x80) return 0xFFFD;
        file.readByte();
        code = (code << 6) | static_cast<char32_t>(next & 0x3F);
    }
    return code > 0x10FFFF ? 0xFFFD : code;
}

void appendUtf16(std::wstring& text, char32_t code) {
    if (code < 0x10000) {
        text += static_cast<wchar_t>(code);
    } else {
        code -= 0x10000;
        text += static_cast<wchar_t>(0xD800 + (code >> 10));
        text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    }
}

}  // namespace

int TextFileCreate(int number, const std::wstring& path) {
    if (path.empty() || number < anyFileNumber) return 0;
    const std::wstring exact = PathExactForm(path);
    HANDLE h = CreateFileW(exact.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    // Hidden or system files refuse CREATE_ALWAYS; they can still be emptied.
    if (h == INVALID_HANDLE_VALUE)
        h = CreateFileW(exact.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return adopt(number, h);
}

int TextFileOpen(int number, const std::wstring& path) {
    if (path.empty() || number < anyFileNumber) return 0;
    HANDLE h = CreateFileW(PathExactForm(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    int result = adopt(number, h);
    // A byte-order mark (Notepad adds one) is not part of the first line.
    if (result) findFile(number == anyFileNumber ? result : number)->skipByteOrderMark();
    return result;
}

std::wstring TextFileReadLine(int number) {
    std::wstring line;
    TextFile* file = findFile(number);
    if (!file) return line;
    for (int byte; (byte = file->readByte()) >= 0;) {
        if (byte == '\n') break;
        if (byte == '\r') {
            if (file->peekByte() == '\n') file->readByte();
            break;
        }
        appendUtf16(line, readCodePoint(*file, byte));
    }
    return line;
}

int TextFileAtEnd(int number) {
    TextFile* file = findFile(number);
    return !file || file->atEnd() ? 1 : 0;
}

void TextFileWriteLine(int number, const std::wstring& text) {
    TextFile* file = findFile(number);
    if (!file) return;
    file->write(TextToUtf8(text));
    file->write("\r\n");
}

int TextFileClose(int number) {
    if (number == -1) {
        files.releaseAll();
        return 1;
    }
    const auto file = files.take(number);
    return file && file->finish() ? 1 : 0;
}
static_assert(anyFileNumber == anyNumber, "text files are numbered like every other object");
