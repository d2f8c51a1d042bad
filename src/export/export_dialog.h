// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "export_writer.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// The export dialog: the user picks column groups (extended selection), then a file; every
// stored person with raw scores is written to it (export_writer.h) and the file is opened with
// the desktop's default application. A long export shows its progress after half a second and
// can be cancelled. Controls carry their ids in their object names ("groupList_1020", ...).
class ExportDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr int kGroupList = 1020;
    static constexpr int kPrompt = 1009;

    // How long an export runs before its progress is shown.
    static inline int progressDelayMs = 500;

    ExportDialog(QWidget* owner, const QFont& controlFont);

    ExportSelection selection() const;
    // What the last OK did (Written, Cancelled, ...); meaningless before the first one.
    ExportResult lastResult() const { return lastResult_; }

  private:
    void onOk();
    ExportResult runExport(const std::string& path);

    QListWidget* groups_;
    QPushButton* ok_;
    QPushButton* cancel_;
    ExportResult lastResult_ = ExportResult::NoSelection;
};

// Runs the export dialog modally, owned by the given window.
// Said when the written export cannot be shown: where the file is.
std::string noViewerMessage(const std::string& path);

void runExportDialog(QWidget* owner, const QFont& controlFont);
