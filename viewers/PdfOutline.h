// Bookmarks for a printed PDF file: a coloured print of many jobs is one
// document, and each job's name marks the page where it begins.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

struct TPdfBookmark {
  std::string Title;
  int Page = 0; ///< 0-based index of the page it leads to
};

/// The bytes of an incremental update that gives pdf an outline of marks, to
/// be appended to the file (a PDF reader takes the newest catalog, and the
/// pages stay as they are). Empty when there is nothing to mark or the file's
/// structure is not the plain one the printer writes (one xref table, a flat
/// page tree, no outline yet).
std::string AddPdfOutline(std::string_view pdf, const std::vector<TPdfBookmark>& marks);

} // namespace quorlin
