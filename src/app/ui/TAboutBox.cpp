#include "app/ui/TAboutBox.h"

#include "app/ui/TFrmQuillet.h"
#include "base/AppInfo.h"
#include "settings/SettingsSwitch.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TAboutBox::TAboutBox(TFrmQuillet& mainWindow)
    : QDialog(&mainWindow)
    , m_main(mainWindow)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("製品バージョン"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* product = new QLabel(AppInfo::ProductName);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(AppInfo::versionLine());
    version->setObjectName(QStringLiteral("Version"));
    auto* system = new QLabel(AppInfo::operatingSystemLine());
    system->setObjectName(QStringLiteral("OperatingSystem"));
    system->setWordWrap(true);
    auto* note = new QLabel(AppInfo::aboutNote());
    note->setObjectName(QStringLiteral("Note"));
    m_settingsButton = new QPushButton;
    m_settingsButton->setObjectName(QStringLiteral("SettingsButton"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addWidget(system);
    layout->addWidget(note);
    layout->addWidget(m_settingsButton);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_settingsButton, &QPushButton::clicked, this, &TAboutBox::switchSettings);
    updateSettingsButton();
}

void TAboutBox::updateSettingsButton()
{
    m_settingsButton->setText(SettingsSwitch::buttonCaption(SettingsSwitch::currentMode(m_main.folders())));
}

void TAboutBox::switchSettings()
{
    const auto mode = SettingsSwitch::currentMode(m_main.folders());
    const SettingsSwitch::Outcome outcome = mode == SettingsSwitch::Mode::Individual
        ? SettingsSwitch::toCommon(m_main.folders(), m_main.state, m_main.prompt(), m_main.programFile())
        : SettingsSwitch::toIndividual(m_main.folders(), m_main.state, m_main.prompt(), m_main.programFile());
    updateSettingsButton();
    if (outcome.restartNeeded) {
        accept();
        // Leave the dialog's own event loop before the main window closes.
        QTimer::singleShot(0, &m_main, &TFrmQuillet::restartProgram);
    }
}
