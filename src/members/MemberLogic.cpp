#include "MemberLogic.h"

#include "CorvelError.h"
#include "Formats.h"
#include "TdmZAVR.h"

#include <QStringList>

QSqlQuery memberListQuery(const TdmZAVR& dm)
{
    return dm.exec(QStringLiteral(
        "select a.AssociationCode,a.LoftNo,a.LoftName,count(b.ClockID)  as clockCnt from ZAVR_LoftData a LEFT Join  "
        "ZAVR_LoftClocks b  on a.LoftNo=b.LoftNo group by a.AssociationCode,a.LoftNo,a.LoftName order by a.LoftNo"));
}

QString countText(int count)
{
    return QString::asprintf("%.3d", count);
}

QString memberInputError(const MemberInput& input)
{
    // Blanks count as filled.
    if (input.loftNo.isEmpty() || input.loftName.isEmpty())
        return QString::fromLatin1(MemberEntryError);
    return {};
}

std::optional<QString> existingMemberName(const TdmZAVR& dm, const QString& loftNo)
{
    QSqlQuery q = dm.exec(QStringLiteral("select LoftName from ZAVR_LoftData where LoftNo=?"), {loftNo});
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString();
}

QString replaceMemberQuestion(const QString& loftNo, const QString& memberName)
{
    return QStringLiteral("Loft %1 already belongs to %2 . Replace its details?").arg(loftNo, memberName);
}

bool saveMember(const TdmZAVR& dm, const MemberInput& in, const QDateTime& now)
{
    if (const QString error = memberInputError(in); !error.isEmpty())
        throw CorvelError(error);
    const QString updateTime = Formats::toDbDateTime(now);
    TdmZAVR::Transaction tx(dm);
    const bool exists = dm.exec(QStringLiteral("select LoftNo from ZAVR_LoftData where LoftNo=?"), {in.loftNo}).next();
    if (exists) {
        dm.exec(QStringLiteral("update ZAVR_LoftData set AssociationCode=?,LoftName=?,Street=?,City=?,PostCode=?,"
                               "PhoneNo=?,LoftLon=?,LoftLat=?,Notes=?,UpdateTime=? where LoftNo=?"),
                {in.associationCode, in.loftName, in.street, in.city, in.postCode, in.phoneNo, in.loftLon, in.loftLat,
                 in.notes, updateTime, in.loftNo});
    } else {
        dm.exec(QStringLiteral("Insert into ZAVR_LoftData (AssociationCode,LoftNo,LoftName,Street,City,PostCode,"
                               "PhoneNo,LoftLon,LoftLat,Notes,UpdateTime) Values(?,?,?,?,?,?,?,?,?,?,?)"),
                {in.associationCode, in.loftNo, in.loftName, in.street, in.city, in.postCode, in.phoneNo, in.loftLon,
                 in.loftLat, in.notes, updateTime});
        dm.exec(QStringLiteral("insert into ZAVR_LoftLibPointDist (LiberCode,LoftNo,Miles,Yards) "
                               "select LiberCode,?,0,0 from ZAVR_LiberateSite order by rowid"),
                {in.loftNo});
    }
    tx.commit();
    return !exists;
}

std::optional<MemberInput> loadMember(const TdmZAVR& dm, const QString& loftNo)
{
    const auto row = dm.locate(QStringLiteral("ZAVR_LoftData"), {QStringLiteral("LoftNo")}, {loftNo});
    if (!row)
        return std::nullopt;
    const auto text = [&row](const char* field) { return row->value(QString::fromLatin1(field)).toString(); };
    MemberInput in;
    in.associationCode = text("AssociationCode");
    in.loftNo = text("LoftNo");
    in.loftName = text("LoftName");
    in.street = text("Street");
    in.city = text("City");
    in.postCode = text("PostCode");
    in.phoneNo = text("PhoneNo");
    in.loftLon = text("LoftLon");
    in.loftLat = text("LoftLat");
    in.notes = text("Notes");
    return in;
}

int memberPigeonCount(const TdmZAVR& dm, const QString& loftNo)
{
    return dm.scalar(QStringLiteral("select count(*) from ZAVR_PigData where LoftNo=?"), {loftNo}).toInt();
}

void deleteMember(const TdmZAVR& dm, const QString& loftNo)
{
    TdmZAVR::Transaction tx(dm);
    dm.exec(QStringLiteral("Delete from ZAVR_PigData where LoftNo=?"), {loftNo});
    dm.exec(QStringLiteral("delete from ZAVR_LoftData where LoftNo=?"), {loftNo});
    dm.exec(QStringLiteral("delete from ZAVR_LoftLibPointDist where LoftNo=?"), {loftNo});
    tx.commit();
}

QStringList memberNames(const TdmZAVR& dm)
{
    return dm.texts(QStringLiteral("select LoftName from ZAVR_LoftData order by rowid"));
}
