// velmark-symbolzeit <ruhe-sekunden> <programm> [argumente...]
//
// Starts a tray program on the current X display and prints, as one JSON line, how long it took
// from the start of the process until its notification-area icon was shown (a small window of
// the process, mapped and viewable), and its resident memory after it idled for the given
// seconds. Then ends the program. Exit code 1 when no icon appeared within 30 s.
//
// Top-level windows are announced by CreateNotify on the root window; the icon's window is the
// one whose _NET_WM_PID is the child's. Where the notification area maps it is the window
// manager's business, so its state is read every 2 ms besides the events (a few requests).

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <thread>

namespace {

double jetztMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

std::optional<long> fensterPid(Display* d, Window w, Atom pidAtom) {
  Atom typ = None;
  int format = 0;
  unsigned long anzahl = 0;
  unsigned long rest = 0;
  unsigned char* daten = nullptr;
  if (XGetWindowProperty(d, w, pidAtom, 0, 1, False, XA_CARDINAL, &typ, &format, &anzahl, &rest,
                         &daten) != Success ||
      !daten)
    return std::nullopt;
  std::optional<long> pid;
  if (typ == XA_CARDINAL && format == 32 && anzahl == 1)
    pid = *reinterpret_cast<long*>(daten);
  XFree(daten);
  return pid;
}

int fehlerIgnorieren(Display*, XErrorEvent*) {
  return 0;  // windows may go while they are looked at
}

long rssKb(pid_t pid) {
  const std::string pfad = "/proc/" + std::to_string(pid) + "/status";
  FILE* f = std::fopen(pfad.c_str(), "r");
  if (!f)
    return -1;
  char zeile[256];
  long kb = -1;
  while (std::fgets(zeile, sizeof zeile, f)) {
    if (std::strncmp(zeile, "VmRSS:", 6) == 0) {
      kb = std::strtol(zeile + 6, nullptr, 10);
      break;
    }
  }
  std::fclose(f);
  return kb;
}

void beenden(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 500; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid)
      return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "Aufruf: velmark-symbolzeit <ruhe-sekunden> <programm> [argumente...]\n");
    return 2;
  }
  const double ruhe = std::atof(argv[1]);
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "Keine X-Anzeige\n");
    return 2;
  }
  XSetErrorHandler(fehlerIgnorieren);
  const Window wurzel = DefaultRootWindow(d);
  const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
  XSelectInput(d, wurzel, SubstructureNotifyMask);
  XSync(d, False);

  const double start = jetztMs();
  const pid_t kind = fork();
  if (kind == 0) {
    execv(argv[2], argv + 2);
    _exit(127);
  }

  std::map<Window, std::optional<long>> fenster;  // windows made since the start, pid if known
  std::optional<double> gezeigt;
  const double frist = start + 30000;
  while (!gezeigt && jetztMs() < frist) {
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    if (XPending(d) == 0)
      poll(&p, 1, 2);
    while (XPending(d) > 0) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == CreateNotify)
        fenster.emplace(e.xcreatewindow.window, std::nullopt);
      else if (e.type == ReparentNotify)
        fenster.emplace(e.xreparent.window, std::nullopt);
    }
    for (auto& [w, pid] : fenster) {
      if (!pid)
        pid = fensterPid(d, w, pidAtom);
      if (!pid || *pid != kind)
        continue;
      XWindowAttributes a{};
      if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && a.width <= 64 &&
          a.height <= 64) {
        gezeigt = jetztMs();
        break;
      }
    }
    if (waitpid(kind, nullptr, WNOHANG) == kind) {
      std::fprintf(stderr, "%s hat sich vor dem Symbol beendet\n", argv[2]);
      return 1;
    }
  }
  if (!gezeigt) {
    std::fprintf(stderr, "Kein Symbol von %s im Infobereich\n", argv[2]);
    beenden(kind);
    return 1;
  }
  XCloseDisplay(d);
  std::this_thread::sleep_for(std::chrono::duration<double>(ruhe));
  const long kb = rssKb(kind);
  beenden(kind);
  std::printf("{\"start_ms\": %.3f, \"rss_kb\": %ld}\n", *gezeigt - start, kb);
  return 0;
}
