// SPDX-License-Identifier: Zlib
#include "platform/FolderChooser.h"

#include <dbus/dbus.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/System.h"

extern char** environ;

namespace tovak2d::platform::folders {
namespace {

constexpr char kPortal[] = "org.freedesktop.portal.Desktop";
constexpr char kRequest[] = "org.freedesktop.portal.Request";

// The chooser being shown: either a portal request on a private bus connection, or a program
// whose standard output is read as it comes.
struct Chooser {
  State state = State::kNone;
  std::string title;
  std::string chosen;
  DBusConnection* bus = nullptr;
  dbus_uint32_t serial = 0;
  std::string handle;  // the request's object path, whose Response signal carries the answer
  pid_t child = -1;
  int output = -1;
  std::string printed;
};
Chooser chooser;
unsigned requests = 0;

// Dialogs need a display; a dummy or offscreen video driver (a test, a server) shows none.
bool CanShow() {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0)) return false;
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

void CloseBus() {
  if (!chooser.bus) return;
  dbus_connection_close(chooser.bus);
  dbus_connection_unref(chooser.bus);
  chooser.bus = nullptr;
}

void AppendOption(DBusMessageIter& dict, const char* key, int type, const void* value) {
  DBusMessageIter entry, variant;
  const char signature[2] = {static_cast<char>(type), 0};
  dbus_message_iter_open_container(&dict, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
  dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
  dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, signature, &variant);
  dbus_message_iter_append_basic(&variant, type, value);
  dbus_message_iter_close_container(&entry, &variant);
  dbus_message_iter_close_container(&dict, &entry);
}

bool Listen(const std::string& path) {
  DBusError error;
  dbus_error_init(&error);
  const std::string rule = "type='signal',interface='" + std::string(kRequest) + "',member='Response',path='" +
                           path + "'";
  dbus_bus_add_match(chooser.bus, rule.c_str(), &error);
  const bool ok = !dbus_error_is_set(&error);
  dbus_error_free(&error);
  return ok;
}

// Asks the portal for a folder. The request's path is known before the call (the connection's
// name and a token of ours), so its answer cannot slip past before we listen for it.
bool StartPortal() {
  // Without a session bus libdbus would try to start one; no bus, no portal.
  if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) return false;
  DBusError error;
  dbus_error_init(&error);
  chooser.bus = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
  dbus_error_free(&error);
  if (!chooser.bus) return false;
  dbus_connection_set_exit_on_disconnect(chooser.bus, false);
  std::string sender = dbus_bus_get_unique_name(chooser.bus);
  sender.erase(0, 1);
  for (char& c : sender)
    if (c == '.') c = '_';
  const std::string token = "tovak2d_" + std::to_string(getpid()) + "_" + std::to_string(++requests);
  chooser.handle = "/org/freedesktop/portal/desktop/request/" + sender + "/" + token;
  if (!Listen(chooser.handle)) {
    CloseBus();
    return false;
  }
  DBusMessage* call = dbus_message_new_method_call(kPortal, "/org/freedesktop/portal/desktop",
                                                   "org.freedesktop.portal.FileChooser", "OpenFile");
  DBusMessageIter args, dict;
  dbus_message_iter_init_append(call, &args);
  const char* parent = "";
  const char* title = chooser.title.c_str();
  const char* tokenText = token.c_str();
  const dbus_bool_t yes = true;
  dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &parent);
  dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &title);
  dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{sv}", &dict);
  AppendOption(dict, "handle_token", DBUS_TYPE_STRING, &tokenText);
  AppendOption(dict, "directory", DBUS_TYPE_BOOLEAN, &yes);
  AppendOption(dict, "modal", DBUS_TYPE_BOOLEAN, &yes);
  dbus_message_iter_close_container(&args, &dict);
  const bool sent = dbus_connection_send(chooser.bus, call, &chooser.serial);
  dbus_message_unref(call);
  if (!sent) {
    CloseBus();
    return false;
  }
  dbus_connection_flush(chooser.bus);
  return true;
}

std::vector<char*> ArgvOf(std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  return args;
}

bool StartProgram() {
  std::vector<std::string> argv;
  const char* home = std::getenv("HOME");
  const std::string start = home ? std::string(home) + "/" : "./";
  if (system::HasProgram("zenity"))
    argv = {"zenity", "--file-selection", "--directory", "--title=" + chooser.title, "--filename=" + start};
  else if (system::HasProgram("kdialog"))
    argv = {"kdialog", "--title", chooser.title, "--getexistingdirectory", start};
  else
    return false;
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  auto args = ArgvOf(argv);
  const int spawned = posix_spawnp(&chooser.child, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (spawned != 0) {
    ::close(pipeFds[0]);
    chooser.child = -1;
    return false;
  }
  chooser.output = pipeFds[0];
  ::fcntl(chooser.output, F_SETFL, O_NONBLOCK);
  return true;
}

void Finish(State state, std::string folder = {}) {
  CloseBus();
  if (chooser.output >= 0) ::close(chooser.output);
  chooser.output = -1;
  chooser.child = -1;
  chooser.state = state;
  chooser.chosen = std::move(folder);
}

// The portal's answer: 0 and the folder's URI, or another code for a cancel.
void ReadResponse(DBusMessage* message) {
  DBusMessageIter args, dict;
  dbus_uint32_t code = 2;
  std::string uri;
  if (dbus_message_iter_init(message, &args) && dbus_message_iter_get_arg_type(&args) == DBUS_TYPE_UINT32) {
    dbus_message_iter_get_basic(&args, &code);
    dbus_message_iter_next(&args);
  }
  if (dbus_message_iter_get_arg_type(&args) == DBUS_TYPE_ARRAY) {
    for (dbus_message_iter_recurse(&args, &dict); dbus_message_iter_get_arg_type(&dict) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&dict)) {
      DBusMessageIter entry, variant, uris;
      const char* key = nullptr;
      dbus_message_iter_recurse(&dict, &entry);
      dbus_message_iter_get_basic(&entry, &key);
      dbus_message_iter_next(&entry);
      dbus_message_iter_recurse(&entry, &variant);
      if (std::strcmp(key, "uris") != 0 || dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_ARRAY) continue;
      dbus_message_iter_recurse(&variant, &uris);
      if (dbus_message_iter_get_arg_type(&uris) != DBUS_TYPE_STRING) continue;
      const char* first = nullptr;
      dbus_message_iter_get_basic(&uris, &first);
      uri = first;
    }
  }
  const std::string folder = PathOfFileUri(uri);
  Finish(code == 0 && !folder.empty() ? State::kChosen : State::kCancelled, folder);
}

void PollPortal() {
  dbus_connection_read_write(chooser.bus, 0);
  while (chooser.bus) {
    DBusMessage* message = dbus_connection_pop_message(chooser.bus);
    if (!message) break;
    const int type = dbus_message_get_type(message);
    if (type == DBUS_MESSAGE_TYPE_ERROR && dbus_message_get_reply_serial(message) == chooser.serial) {
      // No portal, or one without a file chooser: the programs are asked instead.
      CloseBus();
      if (!StartProgram()) Finish(State::kCancelled);
    } else if (type == DBUS_MESSAGE_TYPE_METHOD_RETURN &&
               dbus_message_get_reply_serial(message) == chooser.serial) {
      // An older portal answers on a path of its own choosing.
      const char* path = nullptr;
      if (dbus_message_get_args(message, nullptr, DBUS_TYPE_OBJECT_PATH, &path, DBUS_TYPE_INVALID) &&
          chooser.handle != path) {
        chooser.handle = path;
        Listen(chooser.handle);
      }
    } else if (dbus_message_is_signal(message, kRequest, "Response") &&
               chooser.handle == dbus_message_get_path(message)) {
      ReadResponse(message);
    }
    dbus_message_unref(message);
  }
  if (chooser.bus && !dbus_connection_get_is_connected(chooser.bus)) Finish(State::kCancelled);
}

void PollProgram() {
  char buffer[4096];
  ssize_t n = 0;
  while ((n = ::read(chooser.output, buffer, sizeof buffer)) > 0) chooser.printed.append(buffer, static_cast<size_t>(n));
  int status = 0;
  if (::waitpid(chooser.child, &status, WNOHANG) != chooser.child) return;
  while ((n = ::read(chooser.output, buffer, sizeof buffer)) > 0) chooser.printed.append(buffer, static_cast<size_t>(n));
  std::string folder = chooser.printed;
  while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
  const bool chosen = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !folder.empty();
  Finish(chosen ? State::kChosen : State::kCancelled, chosen ? folder : std::string());
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool Open(const std::string& title) {
  if (chooser.state == State::kOpen || !CanShow()) return false;
  chooser = Chooser{};
  chooser.title = title;
  if (!StartPortal() && !StartProgram()) return false;
  chooser.state = State::kOpen;
  return true;
}

State Poll(std::string& folder) {
  if (chooser.state == State::kOpen) {
    if (chooser.bus)
      PollPortal();
    else if (chooser.child > 0)
      PollProgram();
  }
  const State state = chooser.state;
  if (state == State::kChosen || state == State::kCancelled) {
    folder = chooser.chosen;
    chooser.state = State::kNone;
  }
  return state;
}

void Close() {
  if (chooser.state != State::kOpen) return;
  if (chooser.bus) {
    DBusMessage* close = dbus_message_new_method_call(kPortal, chooser.handle.c_str(), kRequest, "Close");
    dbus_connection_send(chooser.bus, close, nullptr);
    dbus_message_unref(close);
    dbus_connection_flush(chooser.bus);
  }
  if (chooser.child > 0) {
    ::kill(chooser.child, SIGTERM);
    while (::waitpid(chooser.child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  Finish(State::kNone);
}

std::string PathOfFileUri(const std::string& uri) {
  constexpr char kScheme[] = "file://";
  if (uri.compare(0, std::strlen(kScheme), kScheme) != 0) return {};
  std::string rest = uri.substr(std::strlen(kScheme));
  const size_t slash = rest.find('/');
  if (slash == std::string::npos) return {};
  const std::string host = rest.substr(0, slash);
  if (!host.empty() && host != "localhost") return {};
  std::string path;
  for (size_t i = slash; i < rest.size(); ++i) {
    if (rest[i] == '%' && i + 2 < rest.size() && HexValue(rest[i + 1]) >= 0 && HexValue(rest[i + 2]) >= 0) {
      path += static_cast<char>(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2]));
      i += 2;
    } else {
      path += rest[i];
    }
  }
  return path;
}

}  // namespace tovak2d::platform::folders
