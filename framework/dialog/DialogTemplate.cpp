#include "framework/dialog/DialogTemplate.h"

namespace {

// A bounded reader over the template's bytes; any read past the end marks it failed.
class TemplateReader {
public:
    TemplateReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    bool Failed() const { return failed_; }
    size_t Position() const { return position_; }

    uint16_t Word()
    {
        if (position_ + 2 > size_) {
            failed_ = true;
            return 0;
        }
        const uint16_t value = static_cast<uint16_t>(bytes_[position_] | bytes_[position_ + 1] << 8);
        position_ += 2;
        return value;
    }
    uint32_t DoubleWord()
    {
        const uint32_t low = Word();
        return low | static_cast<uint32_t>(Word()) << 16;
    }
    // UTF-16 text ending in a 0 word, narrowed to its low bytes and cut to at most limit characters.
    std::string Text(size_t limit)
    {
        std::string text;
        for (;;) {
            const uint16_t unit = Word();
            if (failed_ || unit == 0)
                return text;
            if (text.size() < limit)
                text += static_cast<char>(unit & 0xFF);
        }
    }
    void AlignToDoubleWord() { position_ = (position_ + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t count)
    {
        if (position_ + count > size_)
            failed_ = true;
        position_ += count;
    }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t position_ = 0;
    bool failed_ = false;
};

const size_t TitleLimit = 99;
const size_t ItemTitleLimit = 259;

// One item record: fields, class (atom or name), title, extra creation bytes.
bool ParseItem(TemplateReader& reader, DialogItemTemplate& item)
{
    reader.AlignToDoubleWord();
    item.style = reader.DoubleWord();
    item.extendedStyle = reader.DoubleWord();
    item.x = reader.Word();
    item.y = reader.Word();
    item.cx = reader.Word();
    item.cy = reader.Word();
    item.id = reader.Word();
    const uint16_t classMark = reader.Word();
    if (classMark == 0xFFFF) {
        item.classAtom = reader.Word();
    } else if (classMark != 0) {
        item.className = static_cast<char>(classMark & 0xFF) + reader.Text(199);
    }
    const uint16_t titleMark = reader.Word();
    if (titleMark == 0xFFFF) {
        item.ordinalTitle = true;
        item.title = std::to_string(reader.Word());
    } else if (titleMark != 0) {
        item.title = static_cast<char>(titleMark & 0xFF) + reader.Text(ItemTitleLimit - 1);
    }
    item.extraBytes = reader.Word();
    reader.Skip(item.extraBytes);
    return !reader.Failed();
}

} // namespace

bool ParseDialogTemplate(const uint8_t* bytes, size_t size, DialogTemplate& out)
{
    if (!bytes)
        return false;
    TemplateReader reader(bytes, size);
    out.style = reader.DoubleWord();
    // The extended layout starts with version 1 and the signature 0xFFFF.
    if (out.style == 0xFFFF0001u)
        return false;
    out.extendedStyle = reader.DoubleWord();
    const unsigned count = reader.Word();
    out.x = reader.Word();
    out.y = reader.Word();
    out.cx = reader.Word();
    out.cy = reader.Word();
    if (reader.Word() != 0 || reader.Word() != 0)
        return false;
    out.title = reader.Text(TitleLimit);
    out.hasFont = (out.style & DS_SETFONT) != 0;
    if (out.hasFont) {
        out.pointSize = reader.Word();
        out.faceName = reader.Text(TitleLimit);
    }
    if (reader.Failed())
        return false;
    out.items.resize(count);
    for (DialogItemTemplate& item : out.items) {
        if (!ParseItem(reader, item))
            return false;
    }
    return true;
}
