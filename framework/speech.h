// Speech in the desktop's own voice, as each front end offers it. The dialog decides what is
// said and when; a front end only says a given text or stops. All texts are GBK byte strings.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zembra {

class Speech {
public:
    // Told once, on the dialog's thread, whether an English voice can speak; when it cannot,
    // `why` says in a few ASCII words what is missing. A voice found that then fails to speak (no
    // audio device, a broken engine) is told once more, as missing, from within Speak.
    using ReadyHandler = std::function<void(bool available, std::string_view why)>;

    virtual ~Speech() = default;

    // Starts finding a voice without waiting for it; `ready` is called when that is known,
    // within Start or later, from the event loop.
    virtual void Start(ReadyHandler ready) = 0;
    // Says `text` in the English voice, cutting off whatever is being said. Returns at once; a
    // text given before the voice is ready is said as soon as it is.
    virtual void Speak(const std::string& text) = 0;
    // Silences at once what is being said or waits to be said.
    virtual void Stop() = 0;
};

}  // namespace zembra
