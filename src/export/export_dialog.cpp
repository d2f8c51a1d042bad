// SPDX-License-Identifier: Apache-2.0
#include "export_dialog.h"

#include "document_opener.h"
#include "file_dialog.h"
#include "memory_norm_source.h"
#include "message_box.h"
#include "screen_size.h"
#include "text_table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>

#include <filesystem>

std::string noViewerMessage(const std::string& path) {
    return "Exporten är sparad i " + path +
           ". Inget program för att visa textfiler kunde startas; öppna filen själv.";
}

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 280;
constexpr unsigned short kPromptText = 150;
constexpr unsigned short kCaptionText = 16;
constexpr unsigned short kSaveTitleText = 31;
constexpr unsigned short kFirstGroupText = 640;
// While the progress is shown, the window is kept answering this often.
constexpr int kEventIntervalMs = 30;

QString textOf(unsigned short id) {
    return QString::fromStdString(text(id));
}

// Shows the progress of a running export once it has taken longer than the delay, and tells
// the writer to stop when the user cancels.
class ExportProgress {
  public:
    explicit ExportProgress(QWidget* owner) : owner_(owner) { started_.start(); }
    ~ExportProgress() { delete dialog_.data(); }
    ExportProgress(const ExportProgress&) = delete;
    ExportProgress& operator=(const ExportProgress&) = delete;

    bool operator()(int written) {
        if (dialog_ == nullptr) {
            if (started_.elapsed() < ExportDialog::progressDelayMs) {
                return true;
            }
            show();
        } else if (sinceEvents_.elapsed() < kEventIntervalMs) {
            return !dialog_->wasCanceled();
        }
        dialog_->setLabelText(QStringLiteral("%1 testpersoner exporterade.").arg(written));
        QCoreApplication::processEvents();
        sinceEvents_.start();
        return !dialog_->wasCanceled();
    }

  private:
    void show() {
        dialog_ = new QProgressDialog(QString(), QStringLiteral("Avbryt"), 0, 0, owner_);
        dialog_->setObjectName("exportProgress");
        dialog_->setWindowTitle(QString::fromUtf8(kProgramCaption) + textOf(kCaptionText));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(0);
        dialog_->show();
        sinceEvents_.start();
    }

    QWidget* owner_;
    QPointer<QProgressDialog> dialog_;
    QElapsedTimer started_;
    QElapsedTimer sinceEvents_;
};

} // namespace

ExportDialog::ExportDialog(QWidget* owner, const QFont& controlFont) : QDialog(owner) {
    setObjectName("exportDialog");
    setWindowTitle(QString::fromUtf8(kProgramCaption) + textOf(kCaptionText));

    auto* prompt = new QLabel(textOf(kPromptText), this);
    prompt->setObjectName(QStringLiteral("promptLabel_%1").arg(kPrompt));
    prompt->setWordWrap(true);
    prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    prompt->setGeometry(10, 10, 470, 80);

    groups_ = new QListWidget(this);
    groups_->setObjectName(QStringLiteral("groupList_%1").arg(kGroupList));
    groups_->setGeometry(10, 90, 470, 90);
    groups_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    groups_->setAccessibleName(QStringLiteral("Information att exportera"));
    groups_->setAccessibleDescription(QStringLiteral(
        "Med tangentbordet: Skift+pil väljer flera rader i följd, Ctrl+pil flyttar utan att välja "
        "och Ctrl+mellanslag väljer eller avväljer raden, Ctrl+A väljer all information."));
    for (int group = 0; group < kExportGroupCount; ++group) {
        groups_->addItem(textOf(static_cast<unsigned short>(kFirstGroupText + group)));
    }
    groups_->setCurrentRow(0);
    groups_->item(0)->setSelected(true);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("okButton_%1").arg(kOk));
    ok_->setGeometry(10, 200, 100, 40);
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Avbryt"), this);
    cancel_->setObjectName(QStringLiteral("cancelButton_%1").arg(kCancel));
    cancel_->setGeometry(130, 200, 100, 40);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setFont(controlFont);
    }
    setTabOrder(groups_, ok_);
    setTabOrder(ok_, cancel_);

    connect(ok_, &QPushButton::clicked, this, &ExportDialog::onOk);
    connect(cancel_, &QPushButton::clicked, this, &ExportDialog::reject);

    setFixedSize(kWidth, kHeight);
    const ScreenSize screen = screenSize();
    move((screen.width - kWidth) / 2, (screen.height - kHeight) / 2);
    groups_->setFocus();
}

ExportSelection ExportDialog::selection() const {
    ExportSelection chosen;
    for (int group = 0; group < kExportGroupCount; ++group) {
        chosen.groups[group] = groups_->item(group)->isSelected();
    }
    return chosen;
}

void ExportDialog::onOk() {
    std::error_code error;
    SaveFileRequest request;
    request.caption = std::string(kProgramCaption) + "  " + text(kSaveTitleText);
    request.directory = std::filesystem::current_path(error).string();
    request.fileName = "Export RIVO-IV";
    request.filter = "Alla filer (*)";
    request.defaultSuffix = "txt";
    request.owner = this;
    const std::string path = askSaveFileName(request);
    if (path.empty()) {
        reject();
        return;
    }
    lastResult_ = runExport(path);
    if (lastResult_ == ExportResult::CannotOpen) {
        return; // the user may choose another name
    }
    if (lastResult_ == ExportResult::Written) {
        openDocument(path, [path] { showMessage(noViewerMessage(path)); });
    } else if (lastResult_ == ExportResult::ReadFailed) {
        showMessage(kExportIncomplete);
    }
    accept();
}

ExportResult ExportDialog::runExport(const std::string& path) {
    ExportProgress progress(this);
    return writeExport(path, selection(), testOccasion(), currentNorms(),
                       [&progress](int written) { return progress(written); });
}

void runExportDialog(QWidget* owner, const QFont& controlFont) {
    ExportDialog dialog(owner, controlFont);
    dialog.exec();
}
