// The texts of the name search, without any widget: the region codes derived from a tree
// node's code, the region filter, the typed-name rule, and the four columns of a result row
// built from the control's strings or from a local listing row.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace search {

// One row of a result list: name, telephone, postal code, address (more cells may follow),
// and a tag (the candidate list keeps "first:count" there).
struct ResultRow {
    QStringList cells;
    QString tag;
};

// A name entry from the control: the name and its "first:count" tag.
struct Candidate {
    QString name;
    QString tag;
};

// The index region of the places whose listings ship in the local database chb.cad beside the
// program instead of on the CD (area codes beginning "84" or "65", and the list "65:84").
inline constexpr int kLocalListingRegion = 84;

// The region the control searches for an area code ("7203:7204" lies in Seoul's index, the
// list codes in their province's index, anything else by its first two digits).
int indexRegionCode(const QString& areaCode);

// Whether a name search in `areaCode` reads the local listing rather than the CD.
bool servedByLocalListing(const QString& areaCode);

// Whether a record of the 8-digit dong code `dongCode` belongs to `areaCode`: list codes
// pass their listed prefixes, other codes with ":" pass nothing, plain codes pass their prefix.
bool passesRegionFilter(QStringView dongCode, const QString& areaCode);

// The name looked up for a typed text: "(02)홍길동" searches 홍길동; "(02)" alone is searched
// as typed.
QString nameForLookup(const QString& typed);

// Whether a typed text asks for names by their initial consonants: at least one
// compatibility consonant jamo (ㄱ … ㅎ, the clusters ㄳ … ㅄ that an input method composes of
// two consonants included), and nothing else but Hangul syllables (김ㅇㅅ).
bool isInitialsLookup(const QString& typed);

// A telephone as the lists show it: "(" area ")" exchange "-" line as four digits, then the
// "/suffix" when there is one. ("032", "123-45/2") gives "(032)123-0045/2".
QString formatTelephone(const QString& area, const QString& telephone);

// "612020" as "612-020".
QString formatPostalCode(const QString& postal);

// A row from a record string of the control ("dong code or name : dong name : lot : 0area :
// telephone : postal code : detail line and line feed"). `name` replaces field 1 as the
// item text when it is not null (the name results); an empty item text becomes "_".
ResultRow rowFromRecord(const QString& record, const QString& name = QString());

// A row of the local listing: the area code is stored without its 0 ("32" gives "(032)").
ResultRow rowFromLocal(const QString& name, const QString& ddd, const QString& tel,
                       const QString& zip, const QString& address);

// The name entry string "name:first:count:" as a candidate; false at the end marker.
bool parseCandidate(const QString& entry, Candidate& out);

// A record string without its last character (the line feed), to compare with the
// excluded record texts.
inline QString withoutLastCharacter(const QString& s) {
    return s.left(s.size() - 1);
}

}  // namespace search
