#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class TdmZAVR;

// The club settings as the Setup page shows them, and how leaving the page stores them.
namespace ClubSetup {

inline const QString CustomClub = QStringLiteral("Custom");
inline const QString ClubSeparator = QStringLiteral("------------");
inline const QString DuplicateAbbreviationMessage = QStringLiteral("Club Abbrivation duplicate ! Club data setup fail !");

// The highest backup age the up-down steps to; typed values may go up to 65535.
constexpr int BackupDaysStepMax = 100;

// What the page's controls hold when it is left.
struct ClubSetupInput {
    QString clubListText;  // the text of the club list ("Custom", a club name, or empty)
    QString ClubName;
    QString ClubID;
    QString Street;
    QString City;
    QString PostCode;
    QString AssociationCode;
    int Language = 0;
    int Mode = 0;
    QString backupDaysText;  // as typed
};

struct ClubMapEntry {
    QString ClubID;
    QString ClubName;
};

enum class SaveOutcome {
    Updated,                // the settings row of this association and club was rewritten
    Replaced,               // the table now holds one new row for the club shown
    DuplicateAbbreviation,  // a new "Custom" club used a listed abbreviation: nothing was stored
};

// "Custom", the separator, then the names of ZAVR_ClubMap in table order.
QStringList clubListItems(const TdmZAVR& dm);

// The listed club whose ClubName is exactly `name`; none for "Custom" or the separator.
std::optional<ClubMapEntry> findClubByName(const TdmZAVR& dm, const QString& name);

// The backup age typed in the page: a whole number from 0 to 65535 (spaces around it ignored).
// Throws CorvelError with a message naming the value otherwise.
int parseBackupDays(const QString& text);

// Stores the settings as the page is left, all or nothing:
// - with "Custom" in the club list, the club is added to ZAVR_ClubMap unless its abbreviation is
//   listed already (then nothing at all is stored);
// - the settings row of the same association and abbreviation keeps its name, abbreviation and
//   association and gets the address, language, mode and backup age;
// - otherwise the table is emptied and gets one new row with everything shown.
// The abbreviation is stored in upper case. A bad backup age throws before anything is written.
SaveOutcome saveClubSettings(const TdmZAVR& dm, const ClubSetupInput& input);

// Leaving the page: the settings are stored (saveClubSettings), or the reason why they could not
// be is given, so that the user can correct them or leave without saving. A club open read-only
// stores nothing; leaving it fails only when the page shows other settings than those stored.
struct LeaveOutcome {
    bool duplicateAbbreviation = false;  // nothing stored: DuplicateAbbreviationMessage applies
    QString failure;                     // why the settings were not stored; empty when they were
};
LeaveOutcome saveOnLeave(const TdmZAVR& dm, const ClubSetupInput& input);

// Whether storing `input` would change nothing: the stored row is that club's with the same
// address, language, mode and backup age, and no club is added to the list.
bool storedAsShown(const TdmZAVR& dm, const ClubSetupInput& input);

// The question after a failed store: the reason, and whether to leave without saving.
QString leaveWithoutSavingQuestion(const QString& failure);

}  // namespace ClubSetup
