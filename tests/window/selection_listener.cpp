// Watches the X11 clipboard and primary selection as a clipboard history does: at each new owner it asks
// at once, with the time of the change, which formats are offered. One line per change, flushed:
//   CLIPBOARD targets: TARGETS UTF8_STRING x-kde-passwordManagerHint …
//   PRIMARY no owner | CLIPBOARD refused | CLIPBOARD no answer
// "listening" comes first, once it watches. It runs until it is ended.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <deque>
#include <poll.h>
#include <string>

namespace {
Display* display;
Window window;

// The next event, or false when none comes within the milliseconds given.
bool NextEvent(XEvent& event, int milliseconds) {
    while (!XPending(display)) {
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        if (poll(&connection, 1, milliseconds) <= 0)
            return false;
    }
    XNextEvent(display, &event);
    return true;
}

std::string Name(Atom atom) {
    char* name = XGetAtomName(display, atom);
    std::string copy = name ? name : "?";
    XFree(name);
    return copy;
}

// Asks the owner of the selection for its TARGETS, as of Time; other changes that come meanwhile are kept.
std::string AskTargets(Atom selection, Time time, std::deque<XEvent>& later, int fixesBase) {
    const Atom targets = XInternAtom(display, "TARGETS", False);
    const Atom property = XInternAtom(display, "ZADRIN_LISTENER", False);
    XConvertSelection(display, selection, targets, property, window, time);
    XEvent event;
    while (NextEvent(event, 30000)) { // a busy owner answers late, but answers
        if (event.type == fixesBase + XFixesSelectionNotify) {
            later.push_back(event);
            continue;
        }
        if (event.type != SelectionNotify || event.xselection.selection != selection)
            continue;
        if (event.xselection.property == None)
            return "refused";
        Atom type;
        int format;
        unsigned long count, left;
        unsigned char* data = nullptr;
        XGetWindowProperty(display, window, property, 0, 1 << 16, True, AnyPropertyType, &type, &format,
                           &count, &left, &data);
        std::string answer = "targets:";
        if (type == XA_ATOM && format == 32)
            for (unsigned long i = 0; i < count; ++i)
                answer += ' ' + Name(reinterpret_cast<const Atom*>(data)[i]);
        XFree(data);
        return answer;
    }
    return "no answer";
}
} // namespace

int main() {
    display = XOpenDisplay(nullptr);
    int fixesBase, errorBase;
    if (!display || !XFixesQueryExtension(display, &fixesBase, &errorBase)) {
        std::puts("no X display with XFixes");
        return 2;
    }
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const unsigned long changes = XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                  XFixesSelectionClientCloseNotifyMask;
    for (const char* selection : {"CLIPBOARD", "PRIMARY"})
        XFixesSelectSelectionInput(display, window, XInternAtom(display, selection, False), changes);
    XSync(display, False);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::puts("listening");

    std::deque<XEvent> later;
    for (;;) {
        XEvent event;
        if (!later.empty()) {
            event = later.front();
            later.pop_front();
        } else {
            XNextEvent(display, &event);
        }
        if (event.type != fixesBase + XFixesSelectionNotify)
            continue;
        const auto& change = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
        const std::string answer =
            change.owner == None ? "no owner"
                                 : AskTargets(change.selection, change.selection_timestamp, later, fixesBase);
        std::printf("%s %s\n", Name(change.selection).c_str(), answer.c_str());
    }
}
