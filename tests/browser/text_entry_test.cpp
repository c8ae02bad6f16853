// Typing into the selected field on real pages: what the field holds afterwards, as the page's
// own form sends it to the server or as the page reads it, and what the page's handlers of the
// entry make of it.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "tests/browser/window_fixture.h"
#include "tests/support/pixels.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

const char* kForm =
    "<!DOCTYPE html><html><body><p>form</p><form action='/submit'>"
    "<input name='q' id='q' value='abc'>"
    "<input type='password' name='p' id='p'>"
    "<textarea name='t' id='t'>line1\nline2</textarea>"
    "<input type='checkbox' name='c' id='c'>"
    "<a id='l' href='/x'>link</a>"
    "<input type='submit' id='go' value='Go'>"
    "</form></body></html>";

class TextEntryTest : public WindowTest {
 protected:
  std::string Value(const std::string& id) {
    return Eval("document.getElementById('" + id + "').value").value_or("?");
  }
  // Steps forward until the element with `id` is selected.
  void SelectId(const std::string& id) {
    for (int i = 0; i < 20; ++i) {
      form->selectNext();
      if (Eval("document.getElementById('" + id + "').style.borderStyle") == "solid") return;
    }
    FAIL() << "cannot select " << id;
  }
  // The whole of a file, or nothing.
  static std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
  // Whether an operation refreshed the capture.
  bool Refreshes(const std::function<void()>& operation) {
    const auto before = access().bm();
    operation();
    return access().bm() != before;
  }
};

TEST_F(TextEntryTest, SetAndAppendReachTheServerWithTheForm) {
  server.page("/", kForm);
  server.page("/submit", "<p>thanks</p>");
  Open(server.url("/"));

  SelectId("q");
  form->setKeyboard(Text("xyz"));
  EXPECT_EQ(Value("q"), "xyz");
  Eval("document.getElementById('q').value = 'abc'");
  form->appendKeyboard(Text("xyz"));
  EXPECT_EQ(Value("q"), "abcxyz");

  SelectId("p");
  form->setKeyboard(Text("s3cret"));
  SelectId("t");
  // The text continues the last line, without a separator.
  form->appendKeyboard(Text(" end"));
  EXPECT_EQ(Value("t"), "line1\nline2 end");

  // Text entry leaves the selection and its outline as they are.
  EXPECT_EQ(Eval("document.getElementById('t').style.borderStyle"), "solid");
  SelectId("go");
  form->clickElement();
  ASSERT_TRUE(server.waitForRequest("GET /submit", 5s));
  std::string sent;
  for (const auto& line : server.requests())
    if (line.rfind("GET /submit", 0) == 0) sent = line;
  EXPECT_EQ(sent, "GET /submit?p=s3cret&q=abcxyz&t=line1\r\nline2 end");
}

// A form of Debian's React (scripts/install-deps), as a framework keeps it: the field shows
// the component's state, its change handler sets the state, and the send button's handler sends
// the state rather than the field.
TEST_F(TextEntryTest, AReactFormHearsTheTextAndSendsIt) {
  for (const auto& [path, file] :
       {std::pair{"/react.js", "/usr/share/nodejs/react/umd/react.production.min.js"},
        std::pair{"/react-dom.js",
                  "/usr/share/nodejs/react-dom/umd/react-dom.production.min.js"}}) {
    const std::string script = FileText(file);
    ASSERT_FALSE(script.empty()) << file;
    server.page(path, script, "text/javascript; charset=utf-8");
  }
  server.page("/", R"(<!DOCTYPE html><html><head><meta charset='utf-8'>
<script src='/react.js'></script><script src='/react-dom.js'></script></head>
<body><p>clearance</p><div id='root'></div><script>
const e = React.createElement;
function Clearance() {
  const [port, setPort] = React.useState('');
  const send = event => {
    event.preventDefault();
    fetch('/sent?port=' + encodeURIComponent(port));
  };
  return e('form', null, e('input', {id: 'port', value: port, onChange: c => setPort(c.target.value)}),
           e('input', {type: 'submit', id: 'go', value: 'Send', onClick: send}));
}
ReactDOM.createRoot(document.getElementById('root')).render(e(Clearance));
</script></body></html>)");
  server.page("/sent", "sent");
  Open(server.url("/"));
  ASSERT_TRUE(PumpUntil([&] { return Eval("String(!!document.getElementById('go'))") == "true"; }));

  SelectId("port");
  form->setKeyboard(Text("dock"));
  form->appendKeyboard(Text("ing"));
  EXPECT_EQ(Value("port"), "docking");
  SelectId("go");
  form->clickElement();
  EXPECT_TRUE(server.waitForRequest("GET /sent?port=docking", 5s));
}

TEST_F(TextEntryTest, HandlersRewriteTheTextOrThrowWithoutLosingIt) {
  // A field that upper-cases what it is given, a field showing the same in capitals for the
  // picture to be compared with (never selected before the comparison), and a field whose input
  // handler throws; each change handler notes the value it saw. Frames of one pixel, as the
  // outline's, so that both fields lay out their text alike.
  server.page("/",
              "<!DOCTYPE html><html><head><style>"
              "input { position: absolute; left: 10px; width: 120px; height: 24px; margin: 0;"
              " padding: 2px; border: 1px solid #000; font: 16px 'DejaVu Sans'; color: #000;"
              " background: #fff; outline: none }"
              "</style></head><body><p>fields</p>"
              "<input id='upper' style='top: 10px' oninput='this.value = this.value.toUpperCase()'"
              " onchange='this.dataset.seen = this.value'>"
              "<input id='same' style='top: 50px' value='DOCKING'>"
              "<input id='throws' style='top: 90px' oninput='throw new Error(\"refused\")'"
              " onchange='this.dataset.seen = this.value'>"
              "</body></html>");
  Open(server.url("/"));
  // The inside of a field, within its frame, in a print of the window; all white when empty.
  const auto inside = [](const Win32::Surface& print, int top) {
    std::vector<Win32::Pixel> pixels;
    for (int y = top + 1; y < top + 29; ++y)
      for (int x = 11; x < 135; ++x) pixels.push_back(print.at(x, y));
    return pixels;
  };
  const auto blank = inside(Print(200, 200), 10);
  ASSERT_EQ(std::count(blank.begin(), blank.end(), 0xFFFFFFFFu), blank.size());

  SelectId("upper");
  form->setKeyboard(Text("dock"));
  form->appendKeyboard(Text("ing"));
  EXPECT_EQ(Value("upper"), "DOCKING");
  EXPECT_EQ(Eval("document.getElementById('upper').dataset.seen"), "DOCKING");
  const auto print = Print(200, 200);
  EXPECT_EQ(inside(print, 10), inside(print, 50));
  if (HasFailure()) WritePng(print, "upper-case.png");

  SelectId("throws");
  EXPECT_TRUE(Refreshes([&] { form->setKeyboard(Text("abc")); }));
  EXPECT_EQ(Value("throws"), "abc");
  EXPECT_EQ(Eval("document.getElementById('throws').dataset.seen"), "abc");
}

TEST_F(TextEntryTest, AFieldHoldingHalfASurrogatePairTakesTextAndSubmitsIt) {
  server.page("/",
              "<!DOCTYPE html><html><head><meta charset='utf-8'></head><body><p>x</p>"
              "<form action='/submit'><input name='q' id='q'><input type='submit' id='go'></form>"
              "<script>document.getElementById('q').value = 'a\\ud800b';</script></body></html>");
  server.page("/submit", "<p>thanks</p>");
  Open(server.url("/"));
  SelectId("q");
  // The unpaired half reads as U+FFFD, which is what the field then holds and the form sends.
  form->appendKeyboard(Text("xyz"));
  EXPECT_EQ(Value("q"), "a\uFFFDbxyz");
  SelectId("go");
  form->clickElement();
  ASSERT_TRUE(server.waitForRequest("GET /submit", 5s));
  EXPECT_EQ(server.requests().back(), "GET /submit?q=a\uFFFDbxyz");
}

TEST_F(TextEntryTest, TextIsWrittenAsItComes) {
  server.page("/",
              "<!DOCTYPE html><html><body><p>x</p>"
              "<input id='f' value='abc' maxlength='3' readonly></body></html>");
  Open(server.url("/"));
  SelectId("f");

  // Appending nothing changes nothing, yet still captures; setting nothing empties the field.
  EXPECT_TRUE(Refreshes([&] { form->appendKeyboard(Text("")); }));
  EXPECT_EQ(Value("f"), "abc");
  EXPECT_TRUE(Refreshes([&] { form->setKeyboard(Text("")); }));
  EXPECT_EQ(Value("f"), "");

  // No trimming, no length limit, and the field's own limits are not consulted.
  form->setKeyboard(Text("  two  spaces  "));
  EXPECT_EQ(Value("f"), "  two  spaces  ");
  form->setKeyboard(Text("Grüße ✓"));
  form->appendKeyboard(Text(std::string(5000, 'x')));
  EXPECT_EQ(Value("f"), "Grüße ✓" + std::string(5000, 'x'));
}

TEST_F(TextEntryTest, NothingHappensWithoutASelectedTextField) {
  server.page("/", kForm);
  Open(server.url("/"));
  const auto untouched = [&] {
    return Refreshes([&] { form->setKeyboard(Text("zz")); }) ||
           Refreshes([&] { form->appendKeyboard(Text("zz")); });
  };
  EXPECT_FALSE(untouched());  // nothing selected yet
  SelectId("c");
  EXPECT_FALSE(untouched());
  EXPECT_EQ(Value("c"), "on");
  SelectId("l");
  EXPECT_FALSE(untouched());
  EXPECT_EQ(Eval("document.getElementById('l').textContent"), "link");
  EXPECT_EQ(Value("q"), "abc");
}

TEST_F(TextEntryTest, TextAfterALoadDoesNotReachTheNewPage) {
  server.page("/", kForm);
  server.page("/next", "<!DOCTYPE html><html><body><p>x</p><input id='n' value='b'></body></html>");
  Open(server.url("/"));
  SelectId("q");
  Load(server.url("/next"));
  // The selection still names the previous page's field, which is gone with its page.
  const auto capture = access().bm();
  form->setKeyboard(Text("xyz"));
  form->appendKeyboard(Text("xyz"));
  EXPECT_EQ(access().bm(), capture);
  EXPECT_EQ(Value("n"), "b");
  // Once a step has selected on the new page, text reaches it.
  SelectId("n");
  form->appendKeyboard(Text("xyz"));
  EXPECT_EQ(Value("n"), "bxyz");
}

}  // namespace
}  // namespace BrovisTest
