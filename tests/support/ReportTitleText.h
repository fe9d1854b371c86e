#pragma once

#include "Report.h"

#include <QStringList>

// The texts of a report's title band, joined by "|", for checking what a page asked to print.
inline QString reportTitleText(const Report& report)
{
    QStringList texts;
    for (const ReportItem& item : report.title.items)
        if (item.kind == ReportItem::Kind::Text)
            texts << item.text;
    return texts.join(QLatin1Char('|'));
}
