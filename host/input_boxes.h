#pragma once
// The three input boxes a display opens for the pilot's text, and the callbacks that take the
// confirmed text to the display that opened them.
namespace Brovis {

class Brovis;

// "Set browser text": the text becomes the selected field's.
void OpenSetTextBox(Brovis& display);
// "Append browser text": the text is added to the selected field's.
void OpenAppendTextBox(Brovis& display);
// "Input URL": the browser loads the address.
void OpenAddressBox(Brovis& display);

}  // namespace Brovis
