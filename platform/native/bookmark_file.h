// A Netscape bookmark file taken apart into its folders and links, as the shell's favorites
// import reads it:
//
//   <!DOCTYPE NETSCAPE-Bookmark-file-1>
//   <DL><p>
//     <DT><H3 ADD_DATE="...">Folder</H3>
//     <DD>an optional description
//     <DL><p>
//       <DT><A HREF="http://example.com/" ADD_DATE="...">Title</A>
//     </DL><p>
//   </DL><p>
//
// An <H3> title followed by a <DL> list is a folder holding that list; an <A HREF> is a link.
// Read as browsers read HTML: tag and attribute names in any case and attributes in any order,
// values quoted with " or ' or not at all, entities (&amp; &lt; &gt; &quot; &apos; &nbsp; &#NNN;
// &#xHH;) decoded, runs of blanks in titles made one blank, unclosed <A> and <H3> ended by the
// next item, stray markup passed over. A file that declares charset UTF-8 (or starts with its
// byte order mark) has its text converted to ANSI.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct BookmarkEntry {
  enum class Kind { Folder, Link };
  Kind kind = Kind::Link;
  int parent = -1;    // the index of the folder entry it lies in; -1 for the top
  std::string title;  // ANSI; may be empty
  std::string url;    // links only, as written in HREF (entities decoded, blanks trimmed)
  std::size_t line = 0;
};

struct BookmarkFile {
  // The file declares itself a bookmark file (<!DOCTYPE NETSCAPE-Bookmark-file-1>).
  bool recognised = false;
  // Folders before what they hold, in the order of the file.
  std::vector<BookmarkEntry> entries;
  // One line per construct passed over ("line 12: ..."), for logs.
  std::vector<std::string> problems;
};

BookmarkFile parseBookmarkFile(std::string_view bytes);

}  // namespace platform
