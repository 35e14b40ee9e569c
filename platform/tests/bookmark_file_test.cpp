#include "bookmark_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

constexpr const char* kDoctype = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n";

// Each entry as one line: "folder A/B" or "link A/B/title -> url", the path made of the titles
// of the folders it lies in.
std::vector<std::string> outline(const BookmarkFile& file) {
  std::vector<std::string> lines;
  for (const BookmarkEntry& entry : file.entries) {
    std::string path = entry.title;
    for (int parent = entry.parent; parent >= 0; parent = file.entries[parent].parent) {
      path = file.entries[parent].title + "/" + path;
    }
    lines.push_back(entry.kind == BookmarkEntry::Kind::Folder
                        ? "folder " + path
                        : "link " + path + " -> " + entry.url);
  }
  return lines;
}

struct ParseCase {
  const char* name;
  std::string body;  // after the DOCTYPE line
  std::vector<std::string> outline;
};

class BookmarkParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(BookmarkParse, FindsTheFoldersAndLinks) {
  const BookmarkFile file = parseBookmarkFile(kDoctype + GetParam().body);
  EXPECT_TRUE(file.recognised);
  EXPECT_EQ(outline(file), GetParam().outline);
}

const ParseCase kParseCases[] = {
    {"NetscapeExport",
     "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">\n"
     "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks for jsmith</H1>\n\n<DL><p>\n"
     "    <DT><H3 ADD_DATE=\"991234567\">News</H3>\n"
     "    <DD>Papers and wires\n"
     "    <DL><p>\n"
     "        <DT><A HREF=\"http://news.example.com/\" ADD_DATE=\"1\" LAST_VISIT=\"2\">Daily</A>\n"
     "        <DD>every morning\n"
     "        <DT><H3>Sport</H3>\n"
     "        <DL><p>\n"
     "            <DT><A HREF=\"http://sport.example.com/\">Scores</A>\n"
     "        </DL><p>\n"
     "        <DT><HR>\n"
     "    </DL><p>\n"
     "    <DT><A HREF=\"http://example.com/\">Home</A>\n"
     "</DL><p>\n",
     {"folder News", "link News/Daily -> http://news.example.com/", "folder News/Sport",
      "link News/Sport/Scores -> http://sport.example.com/", "link Home -> http://example.com/"}},
    {"Entities",
     "<DL><DT><A HREF=\"http://x.example/?a=1&amp;b=2\">AT&amp;T &lt;News&gt; &quot;q&quot; "
     "&#39;s &apos;t &#233;t&#xE9; &#150; &#x263A; &bogus; &amp AT&T &#;</A></DL>",
     {"link AT&T <News> \"q\" 's 't \xE9t\xE9 \x96 ? &bogus; &amp AT&T &#; -> "
      "http://x.example/?a=1&b=2"}},
    {"AttributesInAnyOrderCaseAndQuoting",
     "<dl><dt><a add_date=1 HrEf='http://a.example/'>A</a>"
     "<DT><A HREF=http://b.example/ >B</A>"
     "<DT><A ICON=\"data:image/png;base64,x>y\" HREF=\"http://c.example/\" "
     "HREF=\"http://no/\">C</A>"
     "<DT><A\nHREF\n=\n\"http://d.example/\"\n>D</A></dl>",
     {"link A -> http://a.example/", "link B -> http://b.example/", "link C -> http://c.example/",
      "link D -> http://d.example/"}},
    {"UnclosedItemsEndAtTheNextOne",
     "<DL><p>\n<DT><A HREF=\"http://x.example/\">X\n<DT><A HREF=\"http://y.example/\">Y</A>\n"
     "<DT><H3>Open\n<DL><p>\n<DT><A HREF=\"http://z.example/\">Z\n</DL>\n"
     "<DT><A HREF=\"http://w.example/\">W\n",
     {"link X -> http://x.example/", "link Y -> http://y.example/", "folder Open",
      "link Open/Z -> http://z.example/", "link W -> http://w.example/"}},
    {"ATitleWithoutAListIsNoFolder",
     "<DL><DT><H3>Lonely</H3>\n<DT><A HREF=\"http://a.example/\">A</A>\n"
     "<DT><H3>Empty</H3><DL><p></DL><p></DL>",
     {"link A -> http://a.example/", "folder Empty"}},
    {"OddMarkup",
     "<!-- <DT><A HREF=\"http://commented.example/\">No</A> -->\n"
     "<DL><DT><A HREF=\"http://a.example/\">  1 < 2   and\n\t<B>bold</B><br>text  </A>\n"
     "<DT><A HREF=\"  http://b.example/  \"></A>\n"
     "<DT><A NAME=\"anchor\">Not a bookmark</A>\n"
     "<DT><A HREF=\"http://c.example/\" >C</A></DL>",
     {"link 1 < 2 and bold text -> http://a.example/", "link  -> http://b.example/",
      "link C -> http://c.example/"}},
    {"StrayListsAndEnds",
     "</DL></DL><DL><DL><DT><H3>F</H3><DL><DL><DT><A HREF=\"http://a.example/\">A</A></DL>"
     "<DT><A HREF=\"http://b.example/\">B</A></DL></DL><DT><A HREF=\"http://c.example/\">C</A>",
     {"folder F", "link F/A -> http://a.example/", "link F/B -> http://b.example/",
      "link C -> http://c.example/"}},
    {"AQuoteLeftOpenEndsAtTheTagOnItsLine",
     "<DL><DT><A HREF=\"http://broken.example/>Broken</A>\n"
     "<DT><A HREF=\"http://next.example/\">Next</A></DL>",
     {"link Broken -> http://broken.example/", "link Next -> http://next.example/"}},
    {"Utf8ByDeclaration",
     "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
     "<DL><DT><H3>Caf\xC3\xA9</H3><DL><DT><A HREF=\"http://x.example/\">\xE2\x82\xAC &#233; "
     "&#150; \xE4\xB8\xAD</A></DL></DL>",
     {"folder Caf\xE9", "link Caf\xE9/\x80 \xE9 \x96 ? -> http://x.example/"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BookmarkParse, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BookmarkFile, OnlyADeclaredBookmarkFileIsRecognised) {
  const std::string body = "<DL><DT><A HREF=\"http://a.example/\">A</A></DL>";
  EXPECT_FALSE(parseBookmarkFile(body).recognised);
  EXPECT_FALSE(parseBookmarkFile("<!DOCTYPE html>" + body).recognised);
  EXPECT_FALSE(parseBookmarkFile(std::string("\x50\x4B\x03\x04\0\0<A HREF=x>", 16)).recognised);
  EXPECT_TRUE(
      parseBookmarkFile("\xEF\xBB\xBF<!doctype  netscape-bookmark-file-1 >" + body).recognised);
}

TEST(BookmarkFile, WhatIsPassedOverIsReportedWithItsLine) {
  const BookmarkFile file = parseBookmarkFile(std::string(kDoctype) +
                                              "<DL>\n<DT><A NAME=\"x\">X</A>\n"
                                              "<DT><A HREF=\"http://a.example/\"");
  EXPECT_TRUE(file.entries.empty());
  EXPECT_EQ(file.problems, (std::vector<std::string>{"line 3: a link without HREF passed over",
                                                     "line 4: <a> not closed before the end"}));
  // Nothing at all, or nothing but '<', is no crash.
  for (const char* text : {"", "<", "</", "<!", "<!--", "&", "&#", "<a href=", "<a href='"}) {
    EXPECT_TRUE(parseBookmarkFile(text).entries.empty()) << text;
  }
}

}  // namespace
}  // namespace platform
