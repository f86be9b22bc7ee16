#include "cloud/ui/GoogleDriveAccessVC.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTreeView>

#include "app/LocalizedString.h"
#include "cloud/DriveFolderTree.h"
#include "cloud/DriveListing.h"
#include "cloud/DriveService.h"
#include "cloud/DriveSource.h"
#include "cloud/GoogleDriveAccessDelegate.h"
#include "cloud/ui/CloudSheetStyles.h"
#include "cloud/ui/DriveFolderModel.h"
#include "cloud/ui/GoogleDriveWindows.h"
#include "cloud/ui/SignInFailureAlert.h"
#include "controls/CFMButton.h"
#include "controls/ControlFonts.h"
#include "model/GDFoldersList.h"
#include "platform/Dispatch.h"
#include "platform/TextFormat.h"
#include "platform/ui/AlertPresenter.h"

namespace
{

const QString kProductName = QStringLiteral("Quennary");
const QString kDriveName = QStringLiteral("Google Drive");

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

// Moves the left edge left by `amount` and widens by as much, so the right edge stays.
void widenLeft(QWidget *widget, int amount)
{
    QRect frame = widget->geometry();
    frame.setLeft(frame.left() - amount);
    widget->setGeometry(frame);
}

void setButtonFontSize(CFMButton *button, int size)
{
    QFont font = button->font();
    font.setPixelSize(size);
    button->setFont(font);
}

} // namespace

GoogleDriveAccessVC::GoogleDriveAccessVC(QObject *parent)
    : GoogleDriveAccessVC(DriveService::shared(), GoogleSignIn::Settings::fromConfiguration(), parent)
{
}

GoogleDriveAccessVC::GoogleDriveAccessVC(
    DriveService &service, GoogleSignIn::Settings settings, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_signIn(std::make_unique<GoogleSignIn>(service, std::move(settings)))
    , m_tree(std::make_unique<DriveFolderTree>(service, rootDriveFolderId))
    , m_source(std::make_shared<DriveSource>(service, rootDriveFolderId, *m_signIn))
{
    connectSignIn();
    m_tree->setCallbacks(
        { [this] { reloadFolderOutline(); }, [this](bool finished) { showFolderListProgress(finished); } });
}

GoogleDriveAccessVC::~GoogleDriveAccessVC()
{
    delete m_window;
    delete windowFolderList;
}

DriveListing &GoogleDriveAccessVC::listing()
{
    return m_source->listing();
}

std::shared_ptr<GDFoldersList> GoogleDriveAccessVC::gdFolderObj() const
{
    return m_tree->root();
}

QWidget *GoogleDriveAccessVC::window()
{
    if (!m_window) {
        m_window = GoogleDriveWindows::build(*this);
        m_folderModel = new DriveFolderModel(outlineGDFolderList);
        outlineGDFolderList->setModel(m_folderModel);
        connectWindows();
        windowDidLoad();
    }
    return m_window;
}

void GoogleDriveAccessVC::connectSignIn()
{
    connect(m_signIn.get(), &GoogleSignIn::authorizationFlowStarted, this,
        &GoogleDriveAccessVC::authorizationFlowStarted);
    connect(m_signIn.get(), &GoogleSignIn::signedIn, this, [this] {
        closeSheet(m_window);
        emit signInFinished(true);
    });
    connect(m_signIn.get(), &GoogleSignIn::signInFailed, this, [this](const QString &description) {
        closeSheet(m_window);
        emit signInFinished(false);
        if (delegate)
            delegate->signInLeft();
        // After the sheet has gone, so the alert is not hidden behind it.
        QPointer<GoogleDriveAccessVC> self(this);
        Dispatch::main([self, description] {
            if (self)
                self->showAuthorizationErrorAlert(description);
        });
    });
}

void GoogleDriveAccessVC::connectWindows()
{
    connect(
        btnAllowPermission, &QAbstractButton::clicked, this, &GoogleDriveAccessVC::btnAllowPermissionTapped);
    connect(btnScanComputer, &QAbstractButton::clicked, this, &GoogleDriveAccessVC::btnScanComputerTapped);
    connect(
        btnCancelPermission, &QAbstractButton::clicked, this, &GoogleDriveAccessVC::btnClosePermissionSheet);
    connect(btnRefreshGDriveFolderList, &QAbstractButton::clicked, this,
        &GoogleDriveAccessVC::btnRefreshGDriveFolderListTapped);
    connect(btnAddFolderGDrive, &QAbstractButton::clicked, this, &GoogleDriveAccessVC::btnAddFolderTapped);
    connect(
        btnCancelGDrive, &QAbstractButton::clicked, this, &GoogleDriveAccessVC::btnCancelFolderListTapped);
    connect(outlineGDFolderList, &QTreeView::expanded, this, &GoogleDriveAccessVC::outlineViewItemDidExpand);
    connect(outlineGDFolderList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &GoogleDriveAccessVC::outlineViewSelectionDidChange);
}

void GoogleDriveAccessVC::windowDidLoad()
{
    lblDriveInfoHeader->setText(formatText(text("ID_QNY_DRIVE_INFO_HEADER"), kProductName, kDriveName));
    lblDriveInfoSteps->setText(formatText(text("ID_QNY_DRIVE_INFO_STEPS_HEADER"), kProductName, kDriveName));
    lblDriveInfoSteps1->setText(text("ID_QNY_DRIVE_INFO_STEP1"));
    lblDriveInfoSteps1Sub->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP1_SUB"), kDriveName));
    lblDriveInfoSteps2->setText(text("ID_QNY_DRIVE_INFO_STEP2"));
    lblDriveInfoSteps2Sub->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP2_SUB"), kDriveName));
    lblDriveInfoSteps3->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP3"), kDriveName));
    lblDriveInfoSteps3Sub->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP3_SUB"), kDriveName));
    btnScanComputer->setText(text("ID_QNY_SCAN_COMPUTER"));
    btnAllowPermission->setText(text("ID_QNY_DRIVE_INFO_ALLOW"));
    btnCancelPermission->setText(text("ID_CANCEL"));
    const auto style = [](CFMButton *button, const FlatButtonStyle &look) {
        ControlStyles::styleFlatButton(button, look);
        setButtonFontSize(button, 14);
    };
    style(btnScanComputer, CloudSheetStyles::scanComputerStyle());
    style(btnAllowPermission, CloudSheetStyles::allowPermissionStyle());
    style(btnCancelPermission, CloudSheetStyles::cancelFolderStyle());
    style(btnAddFolderGDrive, CloudSheetStyles::addFolderStyle());
    style(btnCancelGDrive, CloudSheetStyles::cancelFolderStyle());
    applyLanguageFitting();
    setFolderListTexts();
}

void GoogleDriveAccessVC::applyLanguageFitting()
{
    const QString language = Localization::currentLanguageCode();
    if (language == QLatin1String("ru")) {
        lblDriveInfoSteps->setFont(ControlFonts::systemFont(10, QFont::DemiBold));
        lblDriveInfoSteps1->setFont(ControlFonts::systemFont(12));
        setButtonFontSize(btnAllowPermission, 11);
        widenLeft(btnAllowPermission, 15);
        setButtonFontSize(btnScanComputer, 11);
    } else if (language == QLatin1String("nl")) {
        lblDriveInfoSteps->setFont(ControlFonts::systemFont(10, QFont::DemiBold));
        widenLeft(btnAllowPermission, 10);
    } else if (language == QLatin1String("it")) {
        widenLeft(btnAllowPermission, 10);
    } else if (language == QLatin1String("de")) {
        lblDriveInfoSteps->setFont(ControlFonts::systemFont(11, QFont::DemiBold));
        setButtonFontSize(btnAllowPermission, 11);
    } else if (language == QLatin1String("sv")) {
        lblDriveInfoSteps->setFont(ControlFonts::systemFont(11, QFont::DemiBold));
    } else if (language == QLatin1String("pt")) {
        setButtonFontSize(btnAllowPermission, 12);
    }
}

void GoogleDriveAccessVC::btnAllowPermissionTapped()
{
    m_signIn->start();
}

void GoogleDriveAccessVC::btnScanComputerTapped()
{
    closeSheet(m_window);
    if (delegate)
        delegate->scanThisComputer();
}

void GoogleDriveAccessVC::btnClosePermissionSheet()
{
    closeSheet(m_window);
    if (delegate)
        delegate->signInLeft();
}

void GoogleDriveAccessVC::closeSheet(QWidget *sheet)
{
    if (sheet)
        AlertPresenter::current().endSheet(sheet);
}

void GoogleDriveAccessVC::showAuthorizationErrorAlert(const QString &description)
{
    QWidget *over = m_window ? m_window->parentWidget() : nullptr;
    SignInFailureAlert::show(text("ID_GOOGLE_DRIVE"), description, over);
}

void GoogleDriveAccessVC::setFolderListTexts()
{
    lblIncludeToScan->setText(text("ID_INCLUDE_TO_SCAN"));
    btnCancelGDrive->setText(text("ID_CANCEL"));
    btnAddFolderGDrive->setText(text("ID_ADD"));
}

void GoogleDriveAccessVC::btnRefreshGDriveFolderListTapped()
{
    window();
    btnRefreshGDriveFolderList->setEnabled(false);
    lastSelectedGoogleDrivePath.reset();
    m_folderModel->setRoot(nullptr);
    m_tree->refresh();
    reloadFolderOutline();
    outlineGDFolderList->clearSelection();
    btnAddFolderGDrive->setEnabled(false);
}

void GoogleDriveAccessVC::btnAddFolderTapped()
{
    closeSheet(windowFolderList);
    if (lastSelectedGoogleDrivePath && delegate)
        delegate->showCloudFolderAddResult(lastSelectedGoogleDrivePath);
}

void GoogleDriveAccessVC::btnCancelFolderListTapped()
{
    closeSheet(windowFolderList);
}

void GoogleDriveAccessVC::outlineViewItemDidExpand(const QModelIndex &index)
{
    if (m_restoringOutline)
        return;
    const std::shared_ptr<GDFoldersList> node = m_folderModel->nodeAt(index);
    if (!node || !node->children().isEmpty())
        return;
    btnAddFolderGDrive->setEnabled(false);
    m_tree->expand(node);
}

void GoogleDriveAccessVC::outlineViewSelectionDidChange()
{
    btnAddFolderGDrive->setEnabled(false);
    const QModelIndexList rows = outlineGDFolderList->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    if (const std::shared_ptr<GDFoldersList> node = m_folderModel->nodeAt(rows.first())) {
        lastSelectedGoogleDrivePath = node;
        btnAddFolderGDrive->setEnabled(true);
    }
}

void GoogleDriveAccessVC::showFolderListProgress(bool finished)
{
    QPointer<GoogleDriveAccessVC> self(this);
    Dispatch::main([self, finished] {
        if (self)
            self->setFolderListBusy(finished);
    });
}

void GoogleDriveAccessVC::setFolderListBusy(bool finished)
{
    window();
    hudFolderList->setVisible(!finished);
    btnCancelGDrive->setEnabled(finished);
    btnRefreshGDriveFolderList->setEnabled(finished);
    hudFolderList->update();
}

void GoogleDriveAccessVC::reloadFolderOutline()
{
    window();
    QSet<const GDFoldersList *> expanded;
    const std::function<void(const QModelIndex &)> collect = [&](const QModelIndex &parent) {
        for (int row = 0; row < m_folderModel->rowCount(parent); ++row) {
            const QModelIndex index = m_folderModel->index(row, 0, parent);
            if (outlineGDFolderList->isExpanded(index)) {
                expanded.insert(static_cast<const GDFoldersList *>(index.internalPointer()));
                collect(index);
            }
        }
    };
    collect(QModelIndex());
    const std::shared_ptr<GDFoldersList> selected = lastSelectedGoogleDrivePath;
    m_restoringOutline = true;
    m_folderModel->setRoot(m_tree->root());
    for (const GDFoldersList *node : expanded)
        outlineGDFolderList->expand(m_folderModel->indexOf(node));
    if (selected) {
        const QModelIndex index = m_folderModel->indexOf(selected.get());
        if (index.isValid())
            outlineGDFolderList->selectionModel()->select(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    m_restoringOutline = false;
}
