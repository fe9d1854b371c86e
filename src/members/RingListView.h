#pragma once

#include "CountryEntryAids.h"
#include "GridColumns.h"

#include <QWidget>
#include <memory>

class QMenu;
class QModelIndex;
class QTableView;
class RowSetModel;
class TdmZAVR;

namespace Ui {
class RingListView;
}

// The ring register of one member on the Member page (pnlMemRing): the member's pigeons, the
// ring form that adds one pigeon or a range and edits a pigeon's sex, colour and comment, the
// print of the list, the spreadsheet import and export of pigeons, and the upkeep of the colour
// list through the colour field's right-click menu.
class RingListView : public QWidget {
    Q_OBJECT
public:
    // `sortText` is the page's sort text, shared by its grids.
    RingListView(TdmZAVR& dm, QString* sortText, QWidget* parent = nullptr);
    ~RingListView() override;

    RowSetModel* adoqDBGridMRing() const { return adoqDBGridMRing_; }
    QTableView* dbgrdMemRing() const;

    // The lists the ring form offers: country codes, colours ("Other" first), birth years.
    void fillCountries(const QStringList& codes);
    void fillColours();
    void fillBirthYears(const QDate& today);

    // Shows the ring list of the member; the view's focus goes to the country code.
    void open(const QString& loftNo, const QString& loftName);

    // Handlers.
    void btnNewClick();
    void btnNew2Click();
    void btnOK_RingClick();
    void btnCan_RingClick();
    void dbgrdMemRingCellClick(const QModelIndex& index);
    void rgMemRingClick(int index);
    void cbbCountryRingCodeChange();
    void edtRegLetterExit();
    void butPrtRingListClick();
    void btnPigImportClick();
    void btnPigExportClick();
    void AAdd1Click();
    void DDelete1Click();
    void btnFColorSaveClick();
    void btnFColorCancelClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh(const QString& selectRingNo);
    // After a change of the colour list: the colour field offers the stored colours alone, and
    // the list shows the colour names as they now are.
    void coloursChanged();
    void prepareInsert(bool range);
    void loadPigeon(const QString& ringNo);
    void setKeyFieldsEnabled(bool enabled);
    void applyCountryEntryAid();
    QString selectedRingNo() const;

    TdmZAVR& dm_;
    std::unique_ptr<Ui::RingListView> ui_;
    RowSetModel* adoqDBGridMRing_;
    QString loftNo_;    // the member whose rings are shown
    QString loftName_;
    GridColumns columns_;  // of the list as last read
    CountryEntryAid countryAid_;
    QMenu* pmFeatherColor_;
};
