// Beeps: the standard beep and the PC speaker.
#include "services/dos/dos.h"

#include "platform/ui/speaker.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// Ports of the programmable interval timer and of the speaker gate.
constexpr int16_t kTimerControlPort = 0x43;
constexpr int16_t kTimerCounter2Port = 0x42;
constexpr int16_t kSpeakerGatePort = 0x61;
// Counter 2, low byte then high byte, square wave.
constexpr int16_t kCounter2SquareWave = 0xB6;

void pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// One beep of the record; whether it sounded.
bool sound(const BeepRecord& beep) {
    if (beep.tone < 0) return BeepBuzzer(std::abs(beep.tone), std::abs(beep.duration)) == 1;
    return platform::soundTone(static_cast<unsigned>(beep.tone),
                               static_cast<unsigned>(std::abs(beep.duration)));
}

} // namespace

int BeepBuzzer(int counter, int durationMs) {
    const platform::PortAccess* ports = platform::portAccess();
    if (!ports) return 0;
    ports->Out32(kTimerControlPort, kCounter2SquareWave);
    ports->Out32(kTimerCounter2Port, static_cast<int16_t>(counter & 0xFF));
    ports->Out32(kTimerCounter2Port, static_cast<int16_t>((counter >> 8) & 0xFF));
    pause(10);
    const int16_t gate = ports->Inp32(kSpeakerGatePort);
    ports->Out32(kSpeakerGatePort, static_cast<int16_t>(gate | 3));
    pause(durationMs);
    ports->Out32(kSpeakerGatePort, static_cast<int16_t>(gate & ~3));
    return 1;
}

// A negative duration is taken as its absolute value, so that a slip of sign never becomes a beep of days.
int _bip(const BeepRecord* beep) {
    if (!beep || beep->tone == 0) return 0;
    const bool sounded = sound(*beep);
    if (beep->pause > 0) {
        pause(beep->pause);
        sound(*beep);
    }
    return sounded ? 1 : 0;
}

int DOS::Bip(const BeepRecord* beep) {
    return _bip(beep);
}
