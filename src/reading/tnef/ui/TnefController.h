#pragma once

#include "reading/tnef/TnefExtraction.h"

#include <QObject>
#include <QSet>

class ReadingController;
class MainFrame;
struct MimePart;

// "DecryptTnefA1": a TNEF attachment of the displayed message is unpacked
// into mail_dat/2nd at once and its files are listed in list II.
//
// Each TNEF attachment is unpacked on its own (attachments of other kinds
// are not TNEF data), and every file is listed once, however many TNEF
// attachments a message carries.
class TnefController : public QObject
{
    Q_OBJECT

public:
    TnefController(MainFrame& window, ReadingController& reading);

    // False when the stream is damaged: the error has been shown and the
    // display ends at this part.
    bool DecryptTnefA1Execute(const MimePart& part);

private:
    MainFrame& m_window;
    ReadingController& m_reading;
    bool m_extractedThisDisplay = false;
    TnefExtraction::UnpackedNames m_listed;
};
