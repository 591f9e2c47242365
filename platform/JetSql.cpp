#include "JetSql.h"

#include <vector>

namespace telvia {
namespace {

enum class Kind { kWord, kString, kSpace, kOther };
struct Token {
    Kind kind;
    std::string text;  // strings: the content without quotes
};

bool is_word_char(unsigned char c) {
    return c >= 0x80 || c == '_' || (c >= '0' && c <= '9') ||
           ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

bool keyword(const Token& t, std::string_view upper) {
    if (t.kind != Kind::kWord || t.text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < upper.size(); ++i) {
        char c = t.text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i]) return false;
    }
    return true;
}

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == '\'' || c == '"') {
            // A quoted string; the quote doubled inside stands for itself.
            std::string text;
            std::size_t j = i + 1;
            for (; j < s.size(); ++j) {
                if (s[j] == static_cast<char>(c)) {
                    if (j + 1 < s.size() && s[j + 1] == static_cast<char>(c)) {
                        text += s[j++];
                        continue;
                    }
                    break;
                }
                text += s[j];
            }
            out.push_back({Kind::kString, std::move(text)});
            i = j + 1;
        } else if (c == '[') {
            const std::size_t j = s.find(']', i);
            const std::size_t end = j == std::string_view::npos ? s.size() : j + 1;
            out.push_back({Kind::kWord, std::string(s.substr(i, end - i))});
            i = end;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            std::size_t j = i;
            while (j < s.size() && (s[j] == ' ' || s[j] == '\t' || s[j] == '\r' || s[j] == '\n'))
                ++j;
            out.push_back({Kind::kSpace, std::string(s.substr(i, j - i))});
            i = j;
        } else if (is_word_char(c)) {
            std::size_t j = i;
            while (j < s.size() && is_word_char(static_cast<unsigned char>(s[j]))) ++j;
            out.push_back({Kind::kWord, std::string(s.substr(i, j - i))});
            i = j;
        } else {
            out.push_back({Kind::kOther, std::string(1, s[i])});
            ++i;
        }
    }
    return out;
}

std::string quote_string(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

// Index of the next token after `i` that is not blank, or tokens.size().
std::size_t next_solid(const std::vector<Token>& t, std::size_t i) {
    ++i;
    while (i < t.size() && t[i].kind == Kind::kSpace) ++i;
    return i;
}

}  // namespace

std::string jet_like_pattern(std::string_view pattern) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '[' && i + 2 < pattern.size() && pattern[i + 2] == ']') {
            // [*], [?], [#] and the like stand for the character itself.
            const char lit = pattern[i + 1];
            if (lit == '%' || lit == '_' || lit == '\\') out += '\\';
            out += lit;
            i += 2;
        } else if (c == '*') {
            out += '%';
        } else if (c == '?') {
            out += '_';
        } else if (c == '%' || c == '_' || c == '\\') {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

std::string translate_jet_sql(std::string_view jet_sql) {
    std::vector<Token> t = tokenize(jet_sql);
    const std::size_t first = t.empty() || t[0].kind != Kind::kSpace ? 0 : next_solid(t, 0);
    std::string prefix;

    // DELETE * FROM -> DELETE FROM
    if (first < t.size() && keyword(t[first], "DELETE")) {
        const std::size_t star = next_solid(t, first);
        if (star < t.size() && t[star].kind == Kind::kOther && t[star].text == "*") {
            const std::size_t from = next_solid(t, star);
            if (from < t.size() && keyword(t[from], "FROM")) {
                t.erase(t.begin() + static_cast<std::ptrdiff_t>(first + 1),
                        t.begin() + static_cast<std::ptrdiff_t>(from));
                t.insert(t.begin() + static_cast<std::ptrdiff_t>(first + 1), {Kind::kSpace, " "});
            }
        }
    }
    // SELECT cols INTO name FROM ... -> CREATE TABLE name AS SELECT cols FROM ...
    if (first < t.size() && keyword(t[first], "SELECT")) {
        int depth = 0;
        for (std::size_t i = first + 1; i < t.size(); ++i) {
            if (t[i].kind == Kind::kOther && t[i].text == "(") ++depth;
            if (t[i].kind == Kind::kOther && t[i].text == ")") --depth;
            if (depth != 0 || !keyword(t[i], "INTO")) continue;
            const std::size_t name = next_solid(t, i);
            if (name >= t.size() || t[name].kind != Kind::kWord) break;
            prefix = "CREATE TABLE " + t[name].text + " AS ";
            // Drop " INTO name", keeping the blank before FROM.
            std::size_t from = i;
            while (from > first + 1 && t[from - 1].kind == Kind::kSpace) --from;
            t.erase(t.begin() + static_cast<std::ptrdiff_t>(from),
                    t.begin() + static_cast<std::ptrdiff_t>(name + 1));
            break;
        }
    }

    std::string out = prefix;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind != Kind::kString) {
            out += t[i].text;
            continue;
        }
        // A string right after LIKE is a pattern.
        std::size_t before = i;
        while (before > 0 && t[before - 1].kind == Kind::kSpace) --before;
        if (before > 0 && keyword(t[before - 1], "LIKE")) {
            out += quote_string(jet_like_pattern(t[i].text)) + " ESCAPE '\\'";
        } else {
            out += quote_string(t[i].text);
        }
    }
    return out;
}

}  // namespace telvia
