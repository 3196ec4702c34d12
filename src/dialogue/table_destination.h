#pragma once
// Where a table goes: " Ausgabedatei (<Return> Terminal):" and a file name
// of up to 30 characters, or Return for the console.
#include <memory>

#include "text/console.h"
#include "text/record_sink.h"

namespace tambri {

enum class OverwriteRule {
  kAsk,      // a file that cannot be created new is replaced only after
             // " Datei vorhanden - überschreiben? [y/n]:"; any answer but y
             // sends the table to the console
  kReplace,  // the file is created or replaced without a question
};

// The open file the table is to be written to, or null for the console. A
// file that cannot be opened gives " ### Fehler bei Dateieröffnung ###" and
// the name is asked again.
std::unique_ptr<FileRecordSink> choose_table_destination(Console& console, OverwriteRule rule);

}  // namespace tambri
