#pragma once

#include "ClockOpTab.h"

#include <memory>

class QModelIndex;
namespace Ui {
class MatchingTab;
}

// The Matching tab: gives the eRing on the reader to a chosen pigeon of a chosen member.
class MatchingTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit MatchingTab(QWidget* parent = nullptr);
    ~MatchingTab() override;

    Link link() const override { return Link::RingReader; }
    // The member names.
    void fillList() override;

    void cbbLoftNoClick();
    // Choosing a ring number, by the list or by Enter, starts reading.
    void cbbPRingNoClick();
    void dbgrdMatchingCellClick(const QModelIndex& index);
    // One poll of the reader; returns whether reading runs on.
    bool MatchTimer1Timer();

private:
    void attached() override;
    void showPigeons(const QString& selectRingNo);

    std::unique_ptr<Ui::MatchingTab> ui_;
    RowSetModel* adoqMatching_;
};
