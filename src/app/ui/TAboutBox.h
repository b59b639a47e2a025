#pragma once

#include <QDialog>

class QPushButton;
class TFrmQuillet;

// "製品バージョン": product, version, system, the note, and the button that
// moves the settings between the individual and the common folder.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(TFrmQuillet& mainWindow);

    QPushButton* settingsButton() const { return m_settingsButton; }

private:
    void updateSettingsButton();
    void switchSettings();

    TFrmQuillet& m_main;
    QPushButton* m_settingsButton;
};
