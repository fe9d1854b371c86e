#include "SunDataPanel.h"

#include "ErrorHandler.h"
#include "ui_SunDataPanel.h"

#include <QHeaderView>

namespace {

constexpr int FixedRows = 2;

}  // namespace

SunDataPanel::SunDataPanel(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::SunDataPanel>())
{
    ui_->setupUi(this);
    const QStringList titles{QStringLiteral("Race Date"), QStringLiteral("Location"), QStringLiteral("Sunset"),
                             QStringLiteral("Sunrise")};
    const QStringList hints{QStringLiteral("yyyy-mm-dd "), QString(), QStringLiteral("hh:nn:ss"), QStringLiteral("hh:nn:ss")};
    for (int c = 0; c < 4; ++c) {
        for (const auto& [row, text] : {std::pair{0, titles.at(c)}, std::pair{1, hints.at(c)}}) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled);
            ui_->StrGridSunSet->setItem(row, c, item);
        }
    }
    // Every row in view: rows of one line, the grid as tall as its rows, its columns sharing its width.
    QTableWidget* grid = ui_->StrGridSunSet;
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->setFixedHeight(grid->verticalHeader()->length() + 2 * grid->frameWidth());
    connect(ui_->btnOK_Sun, &QPushButton::clicked, this, &SunDataPanel::saveClicked);
    connectGuarded(ui_->btnCan_Sun, &QPushButton::clicked, this, &SunDataPanel::btnCan_SunClick);
}

SunDataPanel::~SunDataPanel() = default;

void SunDataPanel::showRows(const QList<SunRowText>& rows)
{
    for (int i = 0; i < SunTableDayRows; ++i) {
        const SunRowText row = i < rows.size() ? rows.at(i) : SunRowText{};
        const QStringList cells{row.raceDate, row.location, row.sunSet, row.sunRise};
        for (int c = 0; c < 4; ++c)
            ui_->StrGridSunSet->setItem(FixedRows + i, c, new QTableWidgetItem(cells.at(c)));
    }
    show();
    ui_->StrGridSunSet->setFocus();
}

QList<SunRowText> SunDataPanel::rows() const
{
    auto cell = [this](int row, int column) {
        const QTableWidgetItem* item = ui_->StrGridSunSet->item(row, column);
        return item ? item->text() : QString();
    };
    QList<SunRowText> rows;
    for (int r = FixedRows; r < FixedRows + SunTableDayRows; ++r)
        rows << SunRowText{cell(r, 0), cell(r, 1), cell(r, 2), cell(r, 3)};
    return rows;
}

void SunDataPanel::btnCan_SunClick()
{
    hide();
}
