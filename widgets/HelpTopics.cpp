#include "widgets/HelpTopics.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// "@2312,2313 Title": the contexts before the first blank, the title after it.
void ReadTopicHead(const std::string& line, HelpTopic& topic)
{
    const size_t blank = line.find(' ');
    std::stringstream ids(line.substr(1, blank == std::string::npos ? std::string::npos : blank - 1));
    std::string id;
    while (std::getline(ids, id, ','))
        if (const int context = std::atoi(id.c_str()); context > 0)
            topic.contexts.push_back(context);
    topic.title = blank == std::string::npos ? std::string() : Trim(line.substr(blank + 1));
}

void ReadKeywords(const std::string& line, HelpTopic& topic)
{
    std::stringstream keys(line.substr(1));
    std::string key;
    while (std::getline(keys, key, ';'))
        if (!Trim(key).empty())
            topic.keywords.push_back(Trim(key));
}

// The text block a line belongs to: none after a blank line, a paragraph, or lines shown as written.
enum class Block { None, Paragraph, Written };

// Adds one text line: a list item, a line shown as written or the first line of a paragraph starts a line
// of its own (a new block after a blank line), the other lines of a paragraph are joined to the one before.
void AddTextLine(const std::string& line, bool written, Block& open, HelpTopic& topic)
{
    if (line.empty()) {
        open = Block::None;
        return;
    }
    if (!topic.text.empty()) {
        const bool joined = open == Block::Paragraph && !written && !StartsWith(line, "- ");
        topic.text += joined ? " " : (open != Block::None ? "\r\n" : "\r\n\r\n");
    }
    topic.text += line;
    open = written ? Block::Written : Block::Paragraph;
}

// A line that begins with four blanks is shown as written (a script example, which must copy as it is).
bool WrittenLine(const std::string& line)
{
    return StartsWith(line, "    ") && !Trim(line).empty();
}

} // namespace

bool HelpTopics::Read(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        Parse({});
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    Parse(file.bad() ? std::string() : text.str());
    return !topics_.empty();
}

void HelpTopics::Parse(const std::string& text)
{
    topics_.clear();
    contents_.clear();
    std::stringstream lines(text);
    std::string line;
    Block open = Block::None;
    while (std::getline(lines, line)) {
        if (WrittenLine(line) && !topics_.empty()) {
            AddTextLine(line.substr(0, line.find_last_not_of(" \t\r") + 1), true, open, topics_.back());
            continue;
        }
        line = Trim(line);
        if (StartsWith(line, "#"))
            continue;
        if (StartsWith(line, "==")) {
            contents_.push_back({Trim(line.substr(2)), -1});
        } else if (StartsWith(line, "@")) {
            topics_.emplace_back();
            ReadTopicHead(line, topics_.back());
            contents_.push_back({topics_.back().title, static_cast<int>(topics_.size()) - 1});
            open = Block::None;
        } else if (topics_.empty()) {
            continue;
        } else if (StartsWith(line, "!")) {
            ReadKeywords(line, topics_.back());
        } else {
            AddTextLine(line, false, open, topics_.back());
        }
    }
    BuildIndex();
}

void HelpTopics::BuildIndex()
{
    index_.clear();
    // The topics of each key word, titles included: a key word of several topics names its topic's title, so
    // that no two lines of the index read alike.
    std::map<std::string, std::set<int>> topicsOfKey;
    for (size_t i = 0; i < topics_.size(); ++i) {
        topicsOfKey[Lower(topics_[i].title)].insert(static_cast<int>(i));
        for (const std::string& key : topics_[i].keywords)
            topicsOfKey[Lower(key)].insert(static_cast<int>(i));
    }
    for (size_t i = 0; i < topics_.size(); ++i) {
        const int topic = static_cast<int>(i);
        index_.push_back({topics_[i].title, topic});
        std::set<std::string> added{Lower(topics_[i].title)};
        for (const std::string& key : topics_[i].keywords) {
            if (!added.insert(Lower(key)).second)
                continue;
            const bool shared = topicsOfKey[Lower(key)].size() > 1;
            index_.push_back({shared ? key + ", " + topics_[i].title : key, topic});
        }
    }
    std::stable_sort(index_.begin(), index_.end(), [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
        return Lower(a.key) < Lower(b.key);
    });
}

int HelpTopics::ForContext(int context) const
{
    for (size_t i = 0; i < topics_.size(); ++i)
        if (std::find(topics_[i].contexts.begin(), topics_[i].contexts.end(), context) != topics_[i].contexts.end())
            return static_cast<int>(i);
    return -1;
}

int HelpTopics::IndexPosition(const std::string& key) const
{
    const std::string wanted = Lower(key);
    for (size_t i = 0; i < index_.size(); ++i)
        if (Lower(index_[i].key).compare(0, wanted.size(), wanted) >= 0)
            return static_cast<int>(i);
    return index_.empty() ? -1 : static_cast<int>(index_.size()) - 1;
}

std::vector<int> HelpTopics::Search(const std::string& query) const
{
    std::vector<std::string> words;
    std::stringstream split(Lower(query));
    for (std::string word; split >> word;)
        words.push_back(word);
    std::vector<int> found;
    if (words.empty())
        return found;
    for (size_t i = 0; i < topics_.size(); ++i) {
        const std::string text = Lower(topics_[i].title + " " + topics_[i].text);
        if (std::all_of(words.begin(), words.end(),
                        [&](const std::string& word) { return text.find(word) != std::string::npos; }))
            found.push_back(static_cast<int>(i));
    }
    return found;
}
