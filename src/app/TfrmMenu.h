#pragma once

#include "DataFolder.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <functional>

class QToolButton;
class TdmZAVR;

// The page area: shows the background picture while no page is docked; a docked page fills it.
class PageArea : public QWidget {
    Q_OBJECT
public:
    explicit PageArea(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap background_;
};

// The main window: a toolbar of five pages over the page area; exactly one page at a time.
class TfrmMenu : public QMainWindow {
    Q_OBJECT
public:
    enum Page { HomePage = 1, ClockOperationPage, MemberPage, RacesPage, SetupPage };

    TfrmMenu(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
    ~TfrmMenu() override;

    QWidget* currentPage() const { return currentPage_; }
    PageArea* pnlMain() const { return pnlMain_; }

    // Shows the page of a toolbar button; the page shown before is closed and destroyed first,
    // and a page chosen again is created anew. Returns false when the current page refused to
    // close (it then stays shown).
    bool showPage(Page page);
    // Closes and destroys the current page; false when its close handler failed.
    bool CloseCurrentPage();
    void ShowCurrentPage();

    void ToolButton1Click() { showPage(HomePage); }
    void ToolButton2Click() { showPage(ClockOperationPage); }
    void ToolButton3Click() { showPage(MemberPage); }
    void ToolButton4Click() { showPage(RacesPage); }
    void ToolButton5Click() { showPage(SetupPage); }

    // The start-up backup notice and backup; runs once, when the window is first shown.
    void FormShow();
    bool startupBackupRan() const { return startupBackupRan_; }

    static constexpr int BackupNoticeMsecs = 2000;

    // Tests put their own pages in place of the real ones.
    using PageFactory = std::function<QWidget*(Page, QWidget* pageArea)>;
    void setPageFactory(PageFactory factory) { pageFactory_ = std::move(factory); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* createPage(Page page);
    QToolButton* addPageButton(const QString& name, const QString& caption, const QString& picture, Page page);

    TdmZAVR& dm_;
    DataFolder folder_;
    PageArea* pnlMain_;
    QPointer<QWidget> currentPage_;
    bool shownOnce_ = false;
    bool startupBackupRan_ = false;
    PageFactory pageFactory_;
};
