#ifndef APPIDENTITY_H
#define APPIDENTITY_H

// The program's name and version (the name is also the settings file's):
// set by main() before the window is made, and by tests that make one.
void SetApplicationIdentity();

#endif
