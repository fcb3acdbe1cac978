#include "viewers/PdfOutline.h"

#include <cstdio>
#include <optional>

namespace quorlin {

namespace {

/// The number after key ("/Size 28") in text, if any.
std::optional<long long> NumberAfter(std::string_view text, std::string_view key) {
  const size_t at = text.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  size_t i = at + key.size();
  while (i < text.size() && (text[i] == ' ' || text[i] == '\n' || text[i] == '\r')) ++i;
  long long value = 0;
  const size_t first = i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  if (i == first) return std::nullopt;
  return value;
}

/// The text of object number n ("n 0 obj" up to "endobj"), or empty.
std::string_view ObjectText(std::string_view pdf, long long n) {
  const std::string head = std::to_string(n) + " 0 obj";
  for (size_t at = pdf.find(head); at != std::string_view::npos; at = pdf.find(head, at + 1)) {
    if (at > 0 && pdf[at - 1] != '\n' && pdf[at - 1] != '\r') continue; // "11 0 obj" holds "1 0 obj"
    const size_t end = pdf.find("endobj", at);
    if (end == std::string_view::npos) return {};
    return pdf.substr(at + head.size(), end - at - head.size());
  }
  return {};
}

/// A title as a PDF literal string: ( ) and \ quoted, control bytes left out.
std::string Literal(std::string_view text) {
  std::string out = "(";
  for (char c : text) {
    if (c == '(' || c == ')' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) >= 0x20) out += c;
  }
  return out + ")";
}

} // namespace

std::string AddPdfOutline(std::string_view pdf, const std::vector<TPdfBookmark>& marks) {
  const size_t trailerAt = pdf.rfind("trailer");
  const size_t startAt = pdf.rfind("startxref");
  if (marks.empty() || trailerAt == std::string_view::npos || startAt == std::string_view::npos) return {};
  const std::string_view trailer = pdf.substr(trailerAt, startAt - trailerAt);
  const auto size = NumberAfter(trailer, "/Size");
  const auto root = NumberAfter(trailer, "/Root");
  const auto info = NumberAfter(trailer, "/Info");
  const auto previous = NumberAfter(pdf.substr(startAt), "startxref");
  if (!size || !root || !previous || trailer.find("/Prev") != std::string_view::npos) return {};

  // The catalog, and the pages in the order of the page tree's Kids.
  const std::string_view catalog = ObjectText(pdf, *root);
  const size_t close = catalog.rfind(">>");
  const auto pagesRoot = NumberAfter(catalog, "/Pages");
  if (close == std::string_view::npos || !pagesRoot || catalog.find("/Outlines") != std::string_view::npos) return {};
  const std::string_view pageTree = ObjectText(pdf, *pagesRoot);
  const size_t kidsAt = pageTree.find("/Kids"), open = pageTree.find('[', kidsAt), shut = pageTree.find(']', open);
  if (kidsAt == std::string_view::npos || open == std::string_view::npos || shut == std::string_view::npos) return {};
  std::vector<long long> pages;
  for (std::string_view kids = pageTree.substr(open + 1, shut - open - 1); !kids.empty();) {
    const auto page = NumberAfter(kids, "");
    const size_t ref = kids.find('R');
    if (!page || ref == std::string_view::npos) break;
    pages.push_back(*page);
    kids.remove_prefix(ref + 1);
  }
  if (static_cast<long long>(pages.size()) != NumberAfter(pageTree, "/Count").value_or(-1)) return {}; // nested tree

  std::vector<const TPdfBookmark*> shown;
  for (const TPdfBookmark& mark : marks)
    if (mark.Page >= 0 && static_cast<size_t>(mark.Page) < pages.size()) shown.push_back(&mark);
  if (shown.empty()) return {};

  // The update: the catalog anew with its outline, the outline, its items;
  // then their cross-reference table and a trailer that points back.
  std::string out = pdf.empty() || pdf.back() == '\n' ? "" : "\n";
  const long long base = static_cast<long long>(pdf.size());
  const long long outline = *size;
  std::vector<long long> offsets; // of the catalog, then of objects outline, outline + 1, ...
  auto object = [&](long long n, const std::string& body) {
    offsets.push_back(base + static_cast<long long>(out.size()));
    out += std::to_string(n) + " 0 obj\n" + body + "\nendobj\n";
  };
  object(*root, "<<" + std::string(catalog.substr(catalog.find("<<") + 2, close - catalog.find("<<") - 2)) +
                    "/Outlines " + std::to_string(outline) + " 0 R\n/PageMode /UseOutlines\n>>");
  const long long first = outline + 1, last = outline + static_cast<long long>(shown.size());
  object(outline, "<<\n/Type /Outlines\n/First " + std::to_string(first) + " 0 R\n/Last " + std::to_string(last) +
                      " 0 R\n/Count " + std::to_string(shown.size()) + "\n>>");
  for (long long n = first; n <= last; ++n) {
    const TPdfBookmark& mark = *shown[static_cast<size_t>(n - first)];
    std::string item = "<<\n/Title " + Literal(mark.Title) + "\n/Parent " + std::to_string(outline) + " 0 R\n";
    if (n > first) item += "/Prev " + std::to_string(n - 1) + " 0 R\n";
    if (n < last) item += "/Next " + std::to_string(n + 1) + " 0 R\n";
    item += "/Dest [" + std::to_string(pages[static_cast<size_t>(mark.Page)]) + " 0 R /XYZ null null null]\n>>";
    object(n, item);
  }
  const long long xref = base + static_cast<long long>(out.size());
  char entry[32];
  out += "xref\n" + std::to_string(*root) + " 1\n";
  for (size_t k = 0; k < offsets.size(); ++k) {
    if (k == 1) out += std::to_string(outline) + " " + std::to_string(offsets.size() - 1) + "\n";
    std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", offsets[k]);
    out += entry;
  }
  out += "trailer\n<<\n/Size " + std::to_string(last + 1) + "\n/Root " + std::to_string(*root) + " 0 R\n";
  if (info) out += "/Info " + std::to_string(*info) + " 0 R\n";
  out += "/Prev " + std::to_string(*previous) + "\n>>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return out;
}

} // namespace quorlin
