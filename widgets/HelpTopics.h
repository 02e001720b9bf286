#pragma once
// The program's help topics, read from a plain-text topic file. The file's lines:
//   # a comment                        (ignored)
//   == Chapter title                   (a heading of the contents)
//   @ID[,ID...] Topic title            (starts a topic opened by those help contexts)
//   ! keyword; keyword                 (index entries of the topic, besides its title)
//       a line after four blanks       (the topic's text shown as written, on a line of its own: examples)
//   anything else                      (the topic's text; lines of one paragraph are joined, a blank line
//                                       ends a paragraph and a line that begins with "- " is a list item)
// Pure text handling: no window, so the contents, the index and the search are checked as data.

#include <string>
#include <vector>

struct HelpTopic {
    std::vector<int> contexts;
    std::string title;
    std::vector<std::string> keywords;
    // Paragraphs separated by an empty line, lines ended by "\r\n" (as an edit control shows them).
    std::string text;
};

// One line of the contents: a chapter heading (topic -1) or a topic under it.
struct HelpContentsLine {
    std::string text;
    int topic;
};

// One index entry: a keyword or a title, and the topic it leads to.
struct HelpIndexEntry {
    std::string key;
    int topic;
};

class HelpTopics {
public:
    // Reads the file; false (and no topics) when it cannot be read or holds no topic.
    bool Read(const std::string& path);
    // Reads topics from text in the file's form.
    void Parse(const std::string& text);

    const std::vector<HelpTopic>& Topics() const { return topics_; }
    const std::vector<HelpContentsLine>& Contents() const { return contents_; }
    // Every keyword and title, sorted without regard to case; a keyword of several topics is followed by
    // ", " and the topic's title.
    const std::vector<HelpIndexEntry>& Index() const { return index_; }
    // The topic a help context opens, or -1.
    int ForContext(int context) const;
    // The first index entry that begins with the key (case ignored), or the entry the key would precede.
    int IndexPosition(const std::string& key) const;
    // The topics whose title or text holds every word of the query (case ignored), in file order.
    std::vector<int> Search(const std::string& query) const;

private:
    void BuildIndex();

    std::vector<HelpTopic> topics_;
    std::vector<HelpContentsLine> contents_;
    std::vector<HelpIndexEntry> index_;
};
