#include "support/panel_driver.h"

#include <ostream>

namespace brv {

bool operator==(const ShownMessage& a, const ShownMessage& b) {
  return a.text == b.text && a.title == b.title && a.buttons == b.buttons && a.icon == b.icon;
}

std::ostream& operator<<(std::ostream& out, const ShownMessage& message) {
  return out << "{\"" << message.text << "\", \"" << message.title << "\", buttons "
             << static_cast<int>(message.buttons) << ", icon " << static_cast<int>(message.icon)
             << "}";
}

ShownMessage DeleteConfirmationBox() {
  return {"Are you sure? Changes cannot be reverted", "Delete Confirmation", MsgButtons::OkCancel,
          MsgIcon::None};
}

ShownMessage Told(const std::string& text, const std::string& title) {
  return {text, title, MsgButtons::Ok, MsgIcon::None};
}

}  // namespace brv
