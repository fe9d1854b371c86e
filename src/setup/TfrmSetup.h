#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class DataFolder;
class TdmZAVR;

namespace Ui {
class TfrmSetup;
}

// The Setup page: the club settings (stored when the page is left), the club list, and the
// backup on demand and restore of the database.
class TfrmSetup : public QWidget {
    Q_OBJECT
public:
    TfrmSetup(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
    ~TfrmSetup() override;

    // Ends the program after a successful restore; QCoreApplication::exit(0) unless replaced.
    void setEndProgram(std::function<void()> endProgram) { endProgram_ = std::move(endProgram); }

    void FormShow();
    void cbbClubNameClick(int index);
    // Stores the settings. Returns false, after saying why, when the page must stay shown.
    bool FormClose();
    void btnBackNowClick();
    void btnLoadBkClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TdmZAVR& dm_;
    const DataFolder& folder_;
    std::function<void()> endProgram_;
    std::unique_ptr<Ui::TfrmSetup> ui_;
    bool restored_ = false;  // the database was replaced: nothing more is stored
};
