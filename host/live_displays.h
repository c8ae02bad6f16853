#pragma once
// Which display objects of the mode exist right now. An input box outlives the display that
// opened it when the pilot closes that display first; its callback asks here before it uses the
// display it was given.
namespace Brovis {

class Brovis;

void AddLiveDisplay(Brovis* display);
void RemoveLiveDisplay(Brovis* display);
// The display at `address` if it is a live display object, otherwise null.
Brovis* FindLiveDisplay(void* address);
// How many live displays `pred` holds for.
int CountLiveDisplays(bool (*pred)(const Brovis& display));

}  // namespace Brovis
