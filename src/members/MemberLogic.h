#pragma once

#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <optional>

class TdmZAVR;

// Member (loft) records of ZAVR_LoftData and the rows that belong to a member.

// The member list: AssociationCode, LoftNo, LoftName and clockCnt (the member's clocks), by
// loft number.
QSqlQuery memberListQuery(const TdmZAVR& dm);

// A count as the page's count labels show it: at least three digits, zero-filled.
QString countText(int count);

// Everything the member form gives for a save.
struct MemberInput {
    QString associationCode;
    QString loftNo;
    QString loftName;
    QString street;
    QString city;
    QString postCode;
    QString phoneNo;
    QString loftLon;
    QString loftLat;
    QString notes;

    bool operator==(const MemberInput&) const = default;
};

inline constexpr const char* MemberEntryError = "Set new Member find data entry error !";

// The message for a form that cannot be saved (loft number or name empty), else empty.
QString memberInputError(const MemberInput& input);

// The name of the member that already has this loft number (empty text when it has none); no
// value when the loft number is free. A new member under a taken loft number would replace it.
std::optional<QString> existingMemberName(const TdmZAVR& dm, const QString& loftNo);
// "Loft 001 already belongs to Smith . Replace its details?": asked, No by default, before a new
// member is saved under a loft number that is taken; on No nothing is saved.
QString replaceMemberQuestion(const QString& loftNo, const QString& memberName);

// Updates the member of that loft number, or inserts a new member with one distance row
// (Miles 0, Yards 0) per liberation point: all or nothing. Returns true for an insert.
// Throws CorvelError for an empty loft number or name, DbError for a refused value.
bool saveMember(const TdmZAVR& dm, const MemberInput& input, const QDateTime& now);

// The stored member of that loft number as the member form shows it (null fields as empty
// texts); empty when no member has that number.
std::optional<MemberInput> loadMember(const TdmZAVR& dm, const QString& loftNo);

// The number of pigeons the member owns.
int memberPigeonCount(const TdmZAVR& dm, const QString& loftNo);

// Deletes the member's pigeons, its row and its distance rows: all or nothing. Its clocks and
// race entries stay.
void deleteMember(const TdmZAVR& dm, const QString& loftNo);

// The loft names of every member, in table order.
QStringList memberNames(const TdmZAVR& dm);
