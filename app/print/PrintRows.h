// The rows of a list view as the print composer takes them: each row's display texts, column
// by column, and whether the row is selected. The main window hands over lvResult or
// lvDongResult this way and the memo window lvMemoH or lvMemoC.
#pragma once

#include <vector>

#include "TableDocument.h"

class QAbstractItemView;

namespace print {

// Every row of the view's model in the view's order, with its selection. An empty list when
// the view has no model.
std::vector<PrintRow> printRowsOf(const QAbstractItemView& view);

}  // namespace print
