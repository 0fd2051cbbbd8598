// The viewer's main window: the history as a tree of years, accounting months and days.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "allowance_store.h"
#include "csv_export.h"
#include "gdi.h"
#include "handles.h"
#include "history_store.h"
#include "history_summary.h"
#include "message_map.h"
#include "prompts.h"
#include "resource.h"
#include "spreadsheet_session.h"
#include "tree_list_ctrl.h"
#include "window.h"

namespace viewer {

class ViewerDialog : public winapp::Dialog {
public:
    // `programPath` is argument 0 of the command line; its folder becomes the working directory.
    explicit ViewerDialog(std::string programPath, winapp::Prompts& prompts = winapp::SystemPrompts());

    // Reloads the history file and fills the tree list anew; with `tellImpossible`, a history that
    // holds impossible volumes is told in a message box.
    void Refresh(bool tellImpossible = true);

    // The record commands, acting on the row last right-clicked.
    void DeleteEntry();
    void EditEntry();
    // Puts the backup copy back over the history, after asking a running monitor to quit.
    void RestoreBackup();
    // The report of the clicked row's accounting month in a new workbook of the spreadsheet application.
    void ExcelExport();

    // Where ExcelExport gets the spreadsheet application from (its ProgID, unless a test says otherwise).
    void setSpreadsheetFactory(report::SpreadsheetSession::ApplicationFactory factory) {
        spreadsheetFactory_ = std::move(factory);
    }

    // The chart of the clicked row's year or accounting month; its report as a CSV file.
    void ShowChart();
    void CsvExport();
    // Where CsvExport asks for the file's name (the Save As dialog, unless a test says otherwise).
    void setFileChooser(FileChooser& chooser) { fileChooser_ = &chooser; }
    // Where the chart keeps its allowance (the registry, unless a test says otherwise).
    void setAllowanceStore(AllowanceStore& store) { allowanceStore_ = &store; }

    // How long RestoreBackup waits after the copy.
    static constexpr DWORD kRestoreWaitMilliseconds = 3000;

    TreeListCtrl& treeList() { return treeList_; }
    // The DPI the dialog draws its tree at.
    UINT dpi() const { return dpi_; }

    // The columns' widths at 96 DPI; each is scaled to the window's DPI and widened where its
    // caption, or in the first column the longest label of any row, needs more.
    static constexpr int kDateColumnWidth = 130;
    static constexpr int kValueColumnWidth = 80;

    // The row last right-clicked: its first four column texts, its indent and its item index.
    std::string clickedTexts[4];
    std::int32_t clickedLevel = 0;
    std::int32_t clickedItem = 0;

protected:
    const winapp::MessageTable* Messages() const override { return &kMessages; }
    bool OnInitDialog() override;
    void ReportHandlerFailure() override;

private:
    static const winapp::MessageMap<ViewerDialog> kMessages;

    bool OnSysCommand(UINT id, LPARAM lParam);
    bool OnPaint();
    HICON OnQueryDragIcon();
    bool OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnDpiChanged(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnFitColumns(WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnUpdate();
    LRESULT OnTreeListRightClick(NMHDR* header);

    void CreateColumns();
    // The small images and the expand boxes for the window's DPI.
    void MakeImages();
    void FitColumns();
    void MoveToProgramFolder();
    void Fill(bool tellImpossible);
    void FillFrom(const history::HistorySummary& summary, bool anyRecord);
    int FindClickedRowOrTell(const history::HistorySummary& summary);
    // Reads the history for a command; false, after telling the user, when it can be neither read
    // nor made.
    bool LoadHistory(history::HistoryStore& store);
    std::string ProgramCaption() const;
    void ShowUnreadable();
    // After a change was saved, or failed to be (which is told, with the system's text for `error`):
    // the list anew from the file, with the clicked item's index opened again.
    void AfterChange(bool saved, unsigned long error);
    // Tells the user and gives true when the history carries the read-only attribute.
    bool RefusedAsWriteProtected();
    static void AskMonitorToQuit();

    std::string programPath_;
    winapp::Prompts& prompts_;
    HICON icon_;
    TreeListCtrl treeList_;
    winapp::ImageList smallImages_;
    UINT dpi_ = winapp::kDefaultDpi;
    report::SpreadsheetSession::ApplicationFactory spreadsheetFactory_ = report::SpreadsheetSession::CreateByProgId;
    FileChooser* fileChooser_ = &SystemFileChooser();
    AllowanceStore* allowanceStore_ = &RegistryAllowances();
    std::string csvFolder_;  // where the last CSV file of this run was written
};

}  // namespace viewer
