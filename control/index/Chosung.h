// Initial consonants (chosung) of CP949 names, the key of the consonant index. A name's
// consonant string is the name with every Hangul syllable replaced by the compatibility jamo of
// its initial consonant (김영수 gives ㄱㅇㅅ, 똠방 ㄸㅂ); every other character stays as it is.
// A jamo and a syllable are both two bytes in CP949, so the consonant string is exactly as
// long as the name and its characters start where the name's do. The 19 initials in CP949
// order are ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎ: the double consonants are consonants of
// their own, as they are in the alphabet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zendari::chosung {

// The lead byte of every compatibility jamo in CP949 (ㄱ is 0xA4 0xA1, ㅎ 0xA4 0xBE).
inline constexpr unsigned char kJamoLead = 0xA4;

// The trail byte of the jamo of a Hangul syllable's initial consonant when (lead, trail) is a
// syllable, in the common 2,350 or in CP949's extension area; 0 for any other character.
std::uint8_t syllable_initial(unsigned char lead, unsigned char trail) noexcept;

// Whether (lead, trail) is one of the 19 initial consonants as a compatibility jamo.
bool is_initial_jamo(unsigned char lead, unsigned char trail) noexcept;

// Bytes of the CP949 character that starts with `lead`: 2 for a lead byte of a double-byte
// character, 1 otherwise.
inline constexpr std::size_t char_size(unsigned char lead) noexcept {
    return lead >= 0x81 && lead <= 0xFE ? 2 : 1;
}

// Appends the consonant string of `name` to `out`. A lone lead byte at the end is kept.
void append_consonants(std::string_view name, std::string& out);
std::string consonants(std::string_view name);

// Compares the consonant string of `name` with `consonants` as byte strings (the sign of
// consonants(name).compare(consonants)), without building it; stops at the first difference.
int compare_consonants(std::string_view name, std::string_view consonants) noexcept;
// Whether the consonant string of `name` begins with `consonants`.
inline bool has_consonant_prefix(std::string_view name, std::string_view consonants) noexcept {
    return name.size() >= consonants.size() &&
           compare_consonants(name.substr(0, consonants.size()), consonants) == 0;
}

// What a user types to find names by their initials: 19 consonants, full syllables and any
// other characters, mixed (김ㅇㅅ). A consonant matches any character with that initial
// consonant (and the jamo itself); everything else matches only itself. A cluster jamo that an
// input method composes of two consonants typed in a row (ㄳ of ㄱ then ㅅ, ㄺ, ㅄ, ...) stands
// for those two.
class ChosungQuery {
public:
    ChosungQuery() = default;
    explicit ChosungQuery(std::string_view typed);

    // The consonant string every matching name's begins with.
    const std::string& prefix() const noexcept { return prefix_; }
    // Whether `name` matches, given that its consonant string begins with prefix().
    bool matches(std::string_view name) const noexcept;

private:
    std::string prefix_;
    std::string pattern_;  // the typed text with clusters split: what must match exactly
    bool has_exact_ = false;
};

}  // namespace zendari::chosung
