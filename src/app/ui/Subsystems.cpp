#include "app/ui/Subsystems.h"

#include "app/ui/TFrmQuillet.h"
#include "archive/TDm_Ldb.h"
#include "archive/ui/ArchiveController.h"
#include "archive/ui/ArchiveListController.h"
#include "archive/ui/MailboxImportController.h"
#include "archive/ui/RegistrationController.h"
#include "frame/ui/MainActions.h"
#include "platform/Shell.h"
#include "reading/tnef/ui/TnefController.h"
#include "reading/ui/ReadingController.h"

#include <QAction>

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
    auto* registration = new RegistrationController(window, archive->database(), *reading, list);
    auto* import = new MailboxImportController(window, archive->database());
    import->refreshList = [ list, archive, &window ] { if (!archive->database().isListOpen()) return;
    list->closeList();
    window.actions()->DBConnect->trigger();
};
registration->importMailbox = [import](const QString& path) { import->importMailbox(path); };
archive->connectAtStartup();
}
