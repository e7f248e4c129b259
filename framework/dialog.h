// Our small stand-in for the platform's dialog class: the handlers a backend calls, and the
// control operations a dialog uses, forwarded to the backend's ControlHost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "framework/colour.h"
#include "framework/control_host.h"

namespace zembra {

// The keys the dialog logic looks at; everything else is Key::Other.
enum class Key { Other, Enter, Escape, Tab };

// A message as the modal loop takes it from the queue, before the dialog manager sees it.
struct KeyMessage {
    bool keyDown = false;
    Key key = Key::Other;
};

// Notification codes of controls that reach the message map.
enum class Notification { Clicked, SelectionChanged };

// Command identifiers of the dialog manager.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

class Dialog {
public:
    explicit Dialog(ControlHost& host) : m_host(host) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs once when the window and its controls exist. Returning true lets the platform put the
    // focus on the first shown, enabled tab stop.
    virtual bool OnInitDialog() { return true; }
    // Sees every message of the modal loop first; returning true consumes it.
    virtual bool PreTranslateMessage(const KeyMessage&) { return false; }
    // A control notification (button click, combo selection change).
    virtual void OnCommand(int, Notification) {}
    // The close request; the backend then does the default handling, which cancels the dialog.
    virtual void OnClose() {}
    // The session ends (shutdown, sign-out, a restart for an update): the dialog keeps what the
    // close request would keep, without asking anything; the backend then ends the dialog.
    virtual void OnEndSession() {}
    // Before a control draws: the text colour it should use, or nothing for the default.
    virtual std::optional<Colour> OnCtlColor(int) const { return std::nullopt; }

protected:
    ControlHost& Host() const { return m_host; }

private:
    ControlHost& m_host;
};

}  // namespace zembra
