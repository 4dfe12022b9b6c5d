#ifndef APPSERVICES_H
#define APPSERVICES_H

class AppFolder;
class AudioOutput;
class AudioShapingStore;
class CuePlayer;
class ReaderInUse;
class Voices;

// What the window hands on to whoever keeps files, finds verses or shapes
// them: made once in main() (a test makes its own) and living longer than
// the window. Not owned here.
struct AppServices
{
    const AppFolder &folder;
    ReaderInUse &reader;
    AudioShapingStore &shaping;
    const Voices &voices; // through folder and reader
    CuePlayer &cues; // the memorization timer's
    AudioOutput &audio; // the verses' and the cues' output
};

#endif
