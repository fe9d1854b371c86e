#include "RowSetModel.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QStringList column(const RowSetModel& m, const QString& field)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.displayText(r, field);
    return out;
}

RowSetModel* sample(QObject* parent)
{
    auto* m = new RowSetModel(parent);
    m->setRows({QStringLiteral("Name"), QStringLiteral("Dist")},
               {{QStringLiteral("bravo"), 20}, {QStringLiteral("Alpha"), 100}, {QVariant(), 3}, {QStringLiteral("charlie"), 20}});
    return m;
}

TEST(SortText, TogglesOnTheSameColumnAndStartsAscendingOnAnother)
{
    const std::vector<std::tuple<QString, QString, QString>> cases = {
        {QString(), QStringLiteral("LoftName"), QStringLiteral("LoftName ASC")},
        {QStringLiteral("LoftName ASC"), QStringLiteral("LoftName"), QStringLiteral("LoftName DESC")},
        {QStringLiteral("LoftName DESC"), QStringLiteral("LoftName"), QStringLiteral("LoftName ASC")},
        {QStringLiteral("LoftName ASC"), QStringLiteral("ClockID"), QStringLiteral("ClockID ASC")},
        {QStringLiteral("ClockID DESC"), QStringLiteral("LoftName"), QStringLiteral("LoftName ASC")},
    };
    for (const auto& [before, field, after] : cases)
        EXPECT_EQ(nextSortText(before, field), after) << before.toStdString() << " + " << field.toStdString();
}

TEST(RowSetModel, SortsFetchedRowsInMemory)
{
    QObject owner;
    RowSetModel* m = sample(&owner);
    m->applySort(QStringLiteral("Name ASC"));
    EXPECT_EQ(column(*m, QStringLiteral("Name")), (QStringList{QString(), "Alpha", "bravo", "charlie"}));
    m->applySort(QStringLiteral("Dist DESC"));  // numbers by value, ties keep fetched order
    EXPECT_EQ(column(*m, QStringLiteral("Name")), (QStringList{"Alpha", "bravo", "charlie", QString()}));
    m->applySort(QString());
    EXPECT_EQ(column(*m, QStringLiteral("Name")), (QStringList{"bravo", "Alpha", QString(), "charlie"}));
}

TEST(RowSetModel, FindsARowInTheCurrentOrder)
{
    QObject owner;
    RowSetModel* m = sample(&owner);
    EXPECT_EQ(m->findRow(QStringLiteral("Name"), QStringLiteral("charlie")), 3);
    m->applySort(QStringLiteral("Name ASC"));
    EXPECT_EQ(m->findRow(QStringLiteral("Name"), QStringLiteral("charlie")), 3);
    EXPECT_EQ(m->findRow(QStringLiteral("Name"), QStringLiteral("Alpha")), 1);
    EXPECT_EQ(m->findRow(QStringLiteral("Dist"), QStringLiteral("20")), 2);  // the first of two
    EXPECT_EQ(m->findRow(QStringLiteral("Name"), QStringLiteral("alpha")), -1);
    EXPECT_EQ(m->findRow(QStringLiteral("NoSuchField"), QStringLiteral("Alpha")), -1);
}

TEST(RowSetModel, DisplayRulesAndTitles)
{
    QObject owner;
    RowSetModel* m = sample(&owner);
    m->setDisplayRule(QStringLiteral("Dist"), [](const QVariant& v) { return v.toString() + QStringLiteral(" km"); });
    m->setTitle(QStringLiteral("Dist"), QStringLiteral("Distance"));
    EXPECT_EQ(m->data(m->index(1, 1)).toString(), QStringLiteral("100 km"));
    EXPECT_EQ(m->data(m->index(1, 1), Qt::EditRole).toInt(), 100);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Distance"));
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
}

TEST(RowSetModel, TitleClicksToggleASortTextThatOutlivesTheView)
{
    QString sortText;
    QObject owner;
    RowSetModel* m = sample(&owner);
    {
        QTableView view;
        view.setModel(m);
        enableTitleSort(&view, m, &sortText);
        emit view.horizontalHeader()->sectionClicked(0);
        EXPECT_EQ(sortText, QStringLiteral("Name ASC"));
        EXPECT_EQ(m->displayText(1, QStringLiteral("Name")), QStringLiteral("Alpha"));
        emit view.horizontalHeader()->sectionClicked(0);
        EXPECT_EQ(sortText, QStringLiteral("Name DESC"));
        EXPECT_EQ(m->displayText(0, QStringLiteral("Name")), QStringLiteral("charlie"));
    }
    EXPECT_EQ(sortText, QStringLiteral("Name DESC"));
}

}  // namespace
