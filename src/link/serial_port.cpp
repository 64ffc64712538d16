#include "link/serial_port.h"

namespace velmark {

const char* SerialStatusText(SerialStatus status) {
  switch (status) {
    case SerialStatus::Ok:
      return "ok";
    case SerialStatus::Timeout:
      return "time-out";
    case SerialStatus::Closed:
      return "port closed";
    case SerialStatus::NotFound:
      return "no such device";
    case SerialStatus::Permission:
      return "permission denied";
    case SerialStatus::Busy:
      return "device busy";
    case SerialStatus::Io:
      return "input/output error";
    case SerialStatus::BadArgument:
      return "bad argument";
    case SerialStatus::BadReply:
      return "answer does not fit the request";
  }
  return "unknown";
}

}  // namespace velmark
