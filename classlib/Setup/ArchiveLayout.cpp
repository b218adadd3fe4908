#include "Setup/ArchiveLayout.h"

namespace talk::archive {

namespace {

// The collection writer starts with a buffer of this size, as the stored values are usually small.
constexpr std::size_t kInitialBuffer = 4096;

class Writer
{
public:
    Writer() { m_data.reserve(kInitialBuffer); }

    void Byte(std::uint8_t value) { m_data.push_back(value); }
    void Word(std::uint16_t value)
    {
        Byte(static_cast<std::uint8_t>(value));
        Byte(static_cast<std::uint8_t>(value >> 8));
    }
    void Dword(std::uint32_t value)
    {
        Word(static_cast<std::uint16_t>(value));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Count(std::size_t count)
    {
        if (count < 0xFFFF) {
            Word(static_cast<std::uint16_t>(count));
            return;
        }
        Word(0xFFFF);
        Dword(static_cast<std::uint32_t>(count));
    }
    void Text(const std::string& text)
    {
        const std::size_t length = text.size();
        if (length < 0xFF) {
            Byte(static_cast<std::uint8_t>(length));
        } else if (length < 0xFFFE) {
            Byte(0xFF);
            Word(static_cast<std::uint16_t>(length));
        } else {
            Byte(0xFF);
            Word(0xFFFF);
            Dword(static_cast<std::uint32_t>(length));
        }
        m_data.insert(m_data.end(), text.begin(), text.end());
    }
    std::vector<std::uint8_t> Take() { return std::move(m_data); }

private:
    std::vector<std::uint8_t> m_data;
};

class Reader
{
public:
    explicit Reader(const std::vector<std::uint8_t>& data)
        : m_data(data)
    {
    }

    std::size_t Remaining() const { return m_data.size() - m_position; }

    bool Byte(std::uint8_t& value)
    {
        if (Remaining() < 1) {
            return false;
        }
        value = m_data[m_position++];
        return true;
    }
    bool Word(std::uint16_t& value)
    {
        std::uint8_t low = 0;
        std::uint8_t high = 0;
        if (Remaining() < 2 || !Byte(low) || !Byte(high)) {
            return false;
        }
        value = static_cast<std::uint16_t>(low | (high << 8));
        return true;
    }
    bool Dword(std::uint32_t& value)
    {
        std::uint16_t low = 0;
        std::uint16_t high = 0;
        if (Remaining() < 4 || !Word(low) || !Word(high)) {
            return false;
        }
        value = static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16);
        return true;
    }
    bool Count(std::size_t& count)
    {
        std::uint16_t shortCount = 0;
        if (!Word(shortCount)) {
            return false;
        }
        if (shortCount != 0xFFFF) {
            count = shortCount;
            return true;
        }
        std::uint32_t longCount = 0;
        if (!Dword(longCount)) {
            return false;
        }
        count = longCount;
        return true;
    }
    bool Text(std::string& text)
    {
        std::uint8_t shortLength = 0;
        if (!Byte(shortLength)) {
            return false;
        }
        std::size_t length = shortLength;
        if (shortLength == 0xFF) {
            std::uint16_t middle = 0;
            if (!Word(middle) || middle == 0xFFFE) {
                // 0xFFFE announces a wide-character text, which this store never writes.
                return false;
            }
            length = middle;
            if (middle == 0xFFFF) {
                std::uint32_t longLength = 0;
                if (!Dword(longLength)) {
                    return false;
                }
                length = longLength;
            }
        }
        if (length > Remaining()) {
            return false;
        }
        const auto start = m_data.begin() + static_cast<std::ptrdiff_t>(m_position);
        text.assign(start, start + static_cast<std::ptrdiff_t>(length));
        m_position += length;
        return true;
    }

private:
    const std::vector<std::uint8_t>& m_data;
    std::size_t m_position = 0;
};

template<class Element, class Put> std::vector<std::uint8_t> StoreNumbers(const std::vector<Element>& elements, Put put)
{
    Writer writer;
    writer.Count(elements.size());
    for (const Element element : elements) {
        put(writer, element);
    }
    return writer.Take();
}

template<class Element, class Get>
std::optional<std::vector<Element>> LoadNumbers(const std::vector<std::uint8_t>& data, Get get)
{
    Reader reader(data);
    std::size_t count = 0;
    // The count is checked against the bytes present before anything is allocated for it.
    if (!reader.Count(count) || count > reader.Remaining() / sizeof(Element)) {
        return std::nullopt;
    }
    std::vector<Element> elements(count);
    for (Element& element : elements) {
        if (!get(reader, element)) {
            return std::nullopt;
        }
    }
    return elements;
}

} // namespace

std::vector<std::uint8_t> StoreTexts(const std::vector<std::string>& texts)
{
    Writer writer;
    writer.Count(texts.size());
    for (const std::string& text : texts) {
        writer.Text(text);
    }
    return writer.Take();
}

std::vector<std::uint8_t> StoreBytes(const std::vector<std::uint8_t>& bytes)
{
    return StoreNumbers(bytes, [](Writer& w, std::uint8_t v) { w.Byte(v); });
}

std::vector<std::uint8_t> StoreWords(const std::vector<std::uint16_t>& words)
{
    return StoreNumbers(words, [](Writer& w, std::uint16_t v) { w.Word(v); });
}

std::vector<std::uint8_t> StoreDwords(const std::vector<std::uint32_t>& dwords)
{
    return StoreNumbers(dwords, [](Writer& w, std::uint32_t v) { w.Dword(v); });
}

std::optional<std::vector<std::string>> LoadTexts(const std::vector<std::uint8_t>& data)
{
    Reader reader(data);
    std::size_t count = 0;
    // Every text takes at least its one length byte.
    if (!reader.Count(count) || count > reader.Remaining()) {
        return std::nullopt;
    }
    std::vector<std::string> texts(count);
    for (std::string& text : texts) {
        if (!reader.Text(text)) {
            return std::nullopt;
        }
    }
    return texts;
}

std::optional<std::vector<std::uint8_t>> LoadBytes(const std::vector<std::uint8_t>& data)
{
    return LoadNumbers<std::uint8_t>(data, [](Reader& r, std::uint8_t& v) { return r.Byte(v); });
}

std::optional<std::vector<std::uint16_t>> LoadWords(const std::vector<std::uint8_t>& data)
{
    return LoadNumbers<std::uint16_t>(data, [](Reader& r, std::uint16_t& v) { return r.Word(v); });
}

std::optional<std::vector<std::uint32_t>> LoadDwords(const std::vector<std::uint8_t>& data)
{
    return LoadNumbers<std::uint32_t>(data, [](Reader& r, std::uint32_t& v) { return r.Dword(v); });
}

} // namespace talk::archive
