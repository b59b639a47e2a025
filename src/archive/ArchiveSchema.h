#pragma once

#include <QStringList>

// The statements that create an empty archive, in order.
QStringList archiveSchemaStatements();
