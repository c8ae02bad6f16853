// The pilot's commands on a page that replaces what scripts in it would use: the built-ins that
// make answers, the element prototypes' scroll getters, tag names, attributes and field values,
// and Array.prototype.push; its fields and links carry class names that are not well formed
// text. The commands do exactly what they do on a plain page.
#include <algorithm>

#include "tests/browser/window_fixture.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

constexpr char kReplacements[] = R"(<script>
const proto = Element.prototype, real = {};
for (const p of ['scrollTop', 'scrollLeft', 'scrollHeight', 'scrollWidth']) {
  real[p] = Object.getOwnPropertyDescriptor(proto, p);
  Object.defineProperty(proto, p, {get: () => 5, set: real[p].set});
}
const root = () => document.documentElement;
window.offsets = () => [real.scrollLeft.get.call(root()), real.scrollTop.get.call(root())].join();
Object.defineProperty(proto, 'tagName', {get: () => 'DIV'});
proto.getAttribute = () => 'hidden';
Object.defineProperty(HTMLInputElement.prototype, 'value', {get: () => 'fake', set() {}});
JSON.stringify = () => '[]';
JSON.parse = () => [];
Array.prototype.push = () => 0;
addEventListener('DOMContentLoaded', () => {
  for (const e of document.querySelectorAll('input, a')) e.className = '\ud800';
});
</script>)";

// A field, a hidden field that the submit button's handler fills in, and a link far down.
std::string Page(const std::string& name, const std::string& head) {
  return "<!DOCTYPE html><html><head><script>window.offsets = () => "
         "[document.documentElement.scrollLeft, document.documentElement.scrollTop].join();"
         "</script>" +
         head +
         "</head><body style='margin:0;width:3000px;height:3000px'>"
         "<form action='/sent-" +
         name +
         "'><input name='q' value='abc'><input type='hidden' name='h'><br>"
         "<input type='submit' value='go'></form>"
         "<a href='/followed' style='position:absolute;left:10px;top:1500px'>far</a><script>"
         "document.querySelector('[type=submit]').addEventListener('click', () => "
         "document.querySelector('[name=h]').setAttribute('value', 'clicked'));</script>"
         "</body></html>";
}

class HostilePageTest : public WindowTest {
 protected:
  // Each command's result and the offsets the page reports after it, then what was submitted.
  std::string Fly(const std::string& name) {
    std::string seen;
    const auto note = [&](const std::string& what) {
      seen += what + "@" + Eval("offsets()").value_or("?") + " ";
    };
    note(Str(form->selectNext()));
    note(Str(form->selectPrevious()));
    note(Str(form->selectNext()));
    form->setKeyboard(Text("xyz"));
    note("set");
    form->appendKeyboard(Text(" docking"));
    note("appended");
    form->moveDown();
    note("down");
    form->moveDown();
    note("down");
    form->moveRight();
    note("right");
    form->moveUp();
    note("up");
    form->moveLeft();
    note("left");
    note(Str(form->selectNext()));
    form->clickElement();
    const bool sent = server.waitForRequest("GET /sent-" + name + "?h=clicked&q=xyz docking", 5s);
    return seen + (sent ? "sent" : "not sent");
  }
};

TEST_F(HostilePageTest, CommandsDoWhatTheyDoOnAPlainPage) {
  server.page("/plain", Page("plain", ""));
  server.page("/hostile", Page("hostile", kReplacements));
  Open(server.url("/plain"));
  const std::string plain = Fly("plain");
  // Where the selection scrolls the page depends on the sizes of the text; the moves do not.
  EXPECT_NE(plain.find("INPUT@0,0 set@0,0 appended@0,0 down@0,60 down@0,120 right@60,120 "
                       "up@60,60 left@0,60 INPUT@"),
            std::string::npos)
      << plain;
  EXPECT_TRUE(plain.ends_with(" sent")) << plain;

  Load(server.url("/hostile"));
  EXPECT_EQ(Fly("hostile"), plain);
  const auto requests = server.requests();
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /hostile"), 1);
}

}  // namespace
}  // namespace BrovisTest
