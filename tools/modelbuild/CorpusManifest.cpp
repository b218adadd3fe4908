#include "CorpusManifest.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <functional>
#include <map>

namespace modelbuild {

namespace {

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

bool ParseInt(const std::string& text, int* value)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return ec == std::errc() && ptr == end;
}

bool ParseFlag(const std::string& text, bool* value)
{
    if (text != "0" && text != "1")
        return false;
    *value = text == "1";
    return true;
}

std::string LineError(const std::string& path, int lineNumber, const std::string& what)
{
    return path + ":" + std::to_string(lineNumber) + ": " + what;
}

void StripCarriageReturn(std::string* line)
{
    if (!line->empty() && line->back() == '\r')
        line->pop_back();
}

// Calls onLine with the tab-separated fields and the number of every line that is neither empty nor a
// comment, until it returns false (it has then set `error`). False also when the file cannot be opened.
bool ForEachTabbedLine(const std::string& path, const std::function<bool(const std::vector<std::string>&, int)>& onLine,
    std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        StripCarriageReturn(&line);
        if (line.empty() || line[0] == '#')
            continue;
        if (!onLine(SplitTabs(line), lineNumber))
            return false;
    }
    return true;
}

bool ParseReading(
    const std::vector<std::string>& fields, const std::map<std::string, std::size_t>& column, CorpusReading* reading)
{
    const auto field = [&](const char* name) -> const std::string& { return fields[column.at(name)]; };
    reading->file = field("file");
    reading->voice = field("voice");
    reading->word = field("word");
    const std::string& gender = field("gender");
    const std::string& split = field("split");
    if (reading->file.empty() || reading->voice.empty() || reading->word.size() != 3)
        return false;
    if ((gender != "M" && gender != "F") || (split != "train" && split != "eval"))
        return false;
    reading->male = gender == "M";
    reading->evaluation = split == "eval";
    const auto optional = [&](const char* name) {
        const auto found = column.find(name);
        return found == column.end() ? std::string() : fields[found->second];
    };
    reading->family = optional("family");
    reading->chain = optional("chain");
    reading->mic = optional("mic");
    return ParseInt(field("take"), &reading->take) && ParseFlag(field("replay"), &reading->replayed);
}

} // namespace

bool ReadCorpusManifest(const std::string& path, std::vector<CorpusReading>* readings, std::string& error)
{
    static const char* const kColumns[] = {"file", "voice", "gender", "split", "word", "take", "replay"};
    std::map<std::string, std::size_t> column;
    std::size_t width = 0;
    readings->clear();
    const bool read = ForEachTabbedLine(
        path,
        [&](const std::vector<std::string>& fields, int lineNumber) {
            if (column.empty()) {
                for (std::size_t i = 0; i < fields.size(); ++i)
                    column[fields[i]] = i;
                for (const char* name : kColumns)
                    if (column.count(name) == 0) {
                        error = LineError(path, lineNumber, std::string("no column ") + name);
                        return false;
                    }
                width = fields.size();
                return true;
            }
            CorpusReading reading;
            if (fields.size() != width || !ParseReading(fields, column, &reading)) {
                error = LineError(path, lineNumber, "malformed reading");
                return false;
            }
            readings->push_back(std::move(reading));
            return true;
        },
        error);
    if (!read)
        return false;
    if (column.empty()) {
        error = path + ": no column line";
        return false;
    }
    return true;
}

std::vector<std::string> FamilyNames(const std::string& list)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start)
            names.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

bool InAnyFamily(const CorpusReading& reading, const std::vector<std::string>& families)
{
    return std::any_of(families.begin(), families.end(),
        [&](const std::string& f) { return f != "-" && (reading.family == f || reading.chain == f); });
}

bool ReadVocabularyList(const std::string& path, std::vector<VocabularyEntry>* words, std::string& error)
{
    words->clear();
    const bool read = ForEachTabbedLine(
        path,
        [&](const std::vector<std::string>& fields, int lineNumber) {
            VocabularyEntry entry;
            if (fields.size() != 4 || fields[0].size() != 3 || fields[1].empty() || fields[1].size() > 255
                || !ParseFlag(fields[3], &entry.trimEnd)) {
                error = LineError(path, lineNumber, "expected code, display text, reading and 0 or 1");
                return false;
            }
            entry.code = fields[0];
            entry.display = fields[1];
            entry.reading = fields[2];
            words->push_back(std::move(entry));
            return true;
        },
        error);
    if (!read)
        return false;
    static const char* const kCodes[] = {"aaj", "abj", "acj", "adj", "aej", "afj"};
    const bool complete = words->size() == 6
        && std::equal(words->begin(), words->end(), std::begin(kCodes),
            [](const VocabularyEntry& e, const char* code) { return e.code == code; });
    if (!complete) {
        error = path + ": expected the six word codes aaj ... afj in order";
        return false;
    }
    return true;
}

} // namespace modelbuild
