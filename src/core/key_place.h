#ifndef MORVA_CORE_KEY_PLACE_H_
#define MORVA_CORE_KEY_PLACE_H_

#include <string>
#include <string_view>

namespace morva {

// Where a settings key shows in the desktop program and what it takes, in the window's own words
// (UTF-8), so that a person who only knows the window can find the key for the console's --set.
struct KeyPlace {
  std::string_view page;    // the tab, rule page, panel or dialog; empty: not shown in any window
  std::string_view label;   // the control's label as the window shows it
  std::string_view values;  // the values the key takes and what they mean
};

// One key the settings reader takes, with its place.
struct KeyDescription {
  std::string key;
  KeyPlace place;
  // Read from files of earlier versions only and never written: the key it stands for is named in
  // the label.
  bool legacy = false;
};

}  // namespace morva

#endif  // MORVA_CORE_KEY_PLACE_H_
