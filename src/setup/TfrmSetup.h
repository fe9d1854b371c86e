#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class DataFolder;
class QComboBox;
class QLineEdit;
class QPushButton;
class TdmZAVR;
class UpDown;

// The Setup page: the club settings (stored when the page is left), the club list, and the
// backup on demand and restore of the database.
class TfrmSetup : public QWidget {
    Q_OBJECT
public:
    TfrmSetup(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);

    // Ends the program after a successful restore; QCoreApplication::exit(0) unless replaced.
    void setEndProgram(std::function<void()> endProgram) { endProgram_ = std::move(endProgram); }

    void FormShow();
    void cbbClubNameClick(int index);
    // Stores the settings. Returns false, after saying why, when the page must stay shown.
    bool FormClose();
    void btnBackNowClick();
    void btnLoadBkClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TdmZAVR& dm_;
    const DataFolder& folder_;
    std::function<void()> endProgram_;
    bool filled_ = false;    // FormShow ran
    bool restored_ = false;  // the database was replaced: nothing more is stored

    QLineEdit* edtClubName_;
    QLineEdit* edtClubAbbt_;
    QComboBox* cbbClubName_;
    QLineEdit* edtClubStreet_;
    QLineEdit* edtClubToneCity_;
    QLineEdit* edtPostCode_;
    QLineEdit* edtAssociation_;
    QComboBox* cbbLangue_;
    QComboBox* cbbMode_;
    QLineEdit* edtDay_;
    UpDown* udDate_;
    QPushButton* btnLoadBk_;
    QPushButton* btnBackNow_;
};
