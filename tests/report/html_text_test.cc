#include "report/html_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "census/json_string.h"

namespace towngen {
namespace {

TEST(HtmlText, EachContextEscapesWhatCouldEndIt) {
  const struct {
    std::string_view text;
    const char* html;
    const char* attribute;
    const char* json;
  } cases[] = {
      {"Hal", "Hal", "Hal", "\"Hal\""},
      {"</script><script>alert(1)</script>", "&lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt;",
       "&lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt;",
       "\"\\u003c/script\\u003e\\u003cscript\\u003ealert(1)\\u003c/script\\u003e\""},
      {"\"><img src=x onerror='a'>", "\"&gt;&lt;img src=x onerror='a'&gt;",
       "&quot;&gt;&lt;img src=x onerror=&#39;a&#39;&gt;",
       "\"\\\"\\u003e\\u003cimg src=x onerror='a'\\u003e\""},
      {"A & B <!--", "A &amp; B &lt;!--", "A &amp; B &lt;!--", "\"A \\u0026 B \\u003c!--\""},
      {"back\\slash\ttab\nline\x01", "back\\slash\ttab\nline\x01", "back\\slash\ttab\nline\x01",
       "\"back\\\\slash\\ttab\\nline\\u0001\""},
      {"Ærin \xFF", "Ærin \xEF\xBF\xBD", "Ærin \xEF\xBF\xBD", "\"Ærin \xEF\xBF\xBD\""},
  };
  JsonStrings strings;
  for (const auto& c : cases) {
    std::string html, attribute, json;
    appendHtmlText(html, c.text);
    appendHtmlAttribute(attribute, c.text);
    strings.append(json, c.text, true);
    EXPECT_EQ(html, c.html) << c.text;
    EXPECT_EQ(attribute, c.attribute) << c.text;
    EXPECT_EQ(json, c.json) << c.text;
    if (c.text.find('\xFF') == std::string_view::npos) {
      EXPECT_EQ(nlohmann::json::parse(json), std::string(c.text)) << "reads back";
    }
  }
}

}  // namespace
}  // namespace towngen
