// `zendari search --region CODE NAME [--json]`: the everyday use at the shell. Looks the name
// up in one region name index and prints its subscribers as a table (or one JSON object a
// line): name, telephone, postal code, address.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace zendari {

class ZendariClient;

struct SearchRow {
    QString name, telephone, postalCode, address;
};

// One subscriber record string of the control ("dong:dong name:lot:0area:tel:postal:detail\n")
// as a printable row.
SearchRow parse_result_row(const QString& name, const QString& record);

// Runs the search; returns the process exit status.
int run_search(ZendariClient& client, const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace zendari
