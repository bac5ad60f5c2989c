// The chime built into the exe: what the alarm sounds when its own sound file cannot be played.
#pragma once

class TChime {
public:
    TChime() = default;
    TChime(const TChime&) = delete;
    TChime& operator=(const TChime&) = delete;
    ~TChime() { Stop(); }

    // Plays the chime over and over, without waiting, until Stop. A machine that has no sound
    // output stays silent; nothing is reported.
    void Sound();
    void Stop();
    bool Sounding() const { return FSounding; }

private:
    bool FSounding = false;
};
