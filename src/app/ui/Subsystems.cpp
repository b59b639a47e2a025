#include "app/ui/Subsystems.h"

#include "app/ui/TFrmQuillet.h"
#include "archive/TDm_Ldb.h"
#include "archive/ui/ArchiveController.h"
#include "archive/ui/ArchiveListController.h"
#include "archive/ui/RegistrationController.h"
#include "platform/Shell.h"
#include "reading/tnef/ui/TnefController.h"
#include "reading/ui/ReadingController.h"

void attachSubsystems(TFrmQuillet& window)
{
    auto* reading = new ReadingController(window);
    new TnefController(window, *reading);
    if (window.creationStoppedForHelp() || window.terminationRequested())
        return;
    auto* archive = new ArchiveController(window);
    auto* list = new ArchiveListController(window, archive->database(), *reading);
    archive->closeList = [list, archive] {
        if (archive->database().isListOpen())
            list->closeList();
    };
    new RegistrationController(window, archive->database(), *reading, list);
    archive->connectAtStartup();
}
