#include "ClubSetup.h"

#include "CorvelError.h"
#include "TdmZAVR.h"

#include <algorithm>
#include <limits>

namespace ClubSetup {
namespace {

// An edit left empty is stored as an empty text, never as a missing value.
QVariant text(const QString& value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}

}  // namespace

QStringList clubListItems(const TdmZAVR& dm)
{
    return QStringList{CustomClub, ClubSeparator} + dm.texts(QStringLiteral("SELECT ClubName FROM ZAVR_ClubMap ORDER BY rowid"));
}

std::optional<ClubMapEntry> findClubByName(const TdmZAVR& dm, const QString& name)
{
    const auto row = dm.locate(QStringLiteral("ZAVR_ClubMap"), {QStringLiteral("ClubName")}, {name});
    if (!row)
        return std::nullopt;
    return ClubMapEntry{row->value(QStringLiteral("ClubID")).toString(), row->value(QStringLiteral("ClubName")).toString()};
}

int parseBackupDays(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const uint days = trimmed.toUInt(&ok, 10);
    // toUInt accepts a leading "+"; the age is written with digits only.
    const bool digitsOnly = !trimmed.isEmpty() && std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isDigit(); });
    if (!ok || !digitsOnly || days > std::numeric_limits<quint16>::max())
        throw CorvelError(QStringLiteral("'%1' is not a valid backup age: enter a whole number of days from 0 to 65535.").arg(text));
    return static_cast<int>(days);
}

SaveOutcome saveClubSettings(const TdmZAVR& dm, const ClubSetupInput& input)
{
    const int backupDays = parseBackupDays(input.backupDaysText);
    const QString clubId = input.ClubID.toUpper();
    const QString clubData = QStringLiteral("ZAVR_ClubData");

    TdmZAVR::Transaction tx(dm);
    if (input.clubListText == CustomClub) {
        if (dm.locate(QStringLiteral("ZAVR_ClubMap"), {QStringLiteral("ClubID")}, {text(clubId)}))
            return SaveOutcome::DuplicateAbbreviation;
        dm.append(QStringLiteral("ZAVR_ClubMap"), {{QStringLiteral("ClubID"), text(clubId)}, {QStringLiteral("ClubName"), text(input.ClubName)}});
    }

    const QStringList key{QStringLiteral("AssociationCode"), QStringLiteral("ClubID")};
    const QVariantList keyValues{text(input.AssociationCode), text(clubId)};
    const FieldValues settings{{QStringLiteral("Street"), text(input.Street)},
                               {QStringLiteral("City"), text(input.City)},
                               {QStringLiteral("PostCode"), text(input.PostCode)},
                               {QStringLiteral("Language"), input.Language},
                               {QStringLiteral("Mode"), input.Mode},
                               {QStringLiteral("DBBackupDays"), backupDays}};
    SaveOutcome outcome = SaveOutcome::Updated;
    if (dm.locate(clubData, key, keyValues)) {
        dm.update(clubData, key, keyValues, settings);
    } else {
        // The table never holds more than the one settings row.
        dm.exec(QStringLiteral("delete from ZAVR_ClubData"));
        FieldValues row{{QStringLiteral("ClubID"), text(clubId)}, {QStringLiteral("ClubName"), text(input.ClubName)}};
        row << settings;
        row << std::pair<QString, QVariant>(QStringLiteral("AssociationCode"), text(input.AssociationCode));
        dm.append(clubData, row);
        outcome = SaveOutcome::Replaced;
    }
    tx.commit();
    return outcome;
}

bool storedAsShown(const TdmZAVR& dm, const ClubSetupInput& input)
{
    if (input.clubListText == CustomClub)
        return false;
    const ClubSettings s = dm.clubSettings();
    try {
        return s.exists && s.AssociationCode == input.AssociationCode && s.ClubID == input.ClubID.toUpper() &&
               s.Street == input.Street && s.City == input.City && s.PostCode == input.PostCode &&
               s.Language == input.Language && s.Mode == input.Mode && s.DBBackupDays == parseBackupDays(input.backupDaysText);
    } catch (const CorvelError&) {
        return false;
    }
}

LeaveOutcome saveOnLeave(const TdmZAVR& dm, const ClubSetupInput& input)
{
    LeaveOutcome outcome;
    try {
        if (dm.isReadOnly() && storedAsShown(dm, input))
            return outcome;
        outcome.duplicateAbbreviation = saveClubSettings(dm, input) == SaveOutcome::DuplicateAbbreviation;
    } catch (const CorvelError& e) {
        outcome.failure = e.text();
    }
    return outcome;
}

QString leaveWithoutSavingQuestion(const QString& failure)
{
    return failure + QStringLiteral("\n\nThe club settings could not be saved. Leave the Setup page without saving them?");
}

}  // namespace ClubSetup
