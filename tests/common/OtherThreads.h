#ifndef OTHERTHREADS_H
#define OTHERTHREADS_H

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

// Whether every thread of this process but the caller sleeps, as the kernel
// sees it (/proc/self/task/*/stat): none running, waiting for a CPU or in
// I/O. A wake, a queued command or a verse being decoded keeps its thread
// runnable until it is dealt with, so this is when a test that drives the
// output clock itself may let time go on without getting ahead of the engine.
inline bool otherThreadsAsleep()
{
    DIR *tasks = opendir("/proc/self/task");
    if (!tasks)
        return true; // no /proc: time goes on as on a sound card
    const long self = long(gettid());
    bool asleep = true;
    while (const dirent *entry = readdir(tasks)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9' || atol(entry->d_name) == self)
            continue;
        char path[320];
        std::snprintf(path, sizeof path, "/proc/self/task/%s/stat", entry->d_name);
        const int file = open(path, O_RDONLY | O_CLOEXEC);
        if (file < 0)
            continue; // it has just ended
        char stat[512];
        const ssize_t length = read(file, stat, sizeof stat - 1);
        close(file);
        if (length <= 0)
            continue;
        stat[length] = '\0';
        // "tid (name) S ...": the name may hold spaces and parentheses.
        const char *nameEnd = std::strrchr(stat, ')');
        const char state = nameEnd && nameEnd[1] == ' ' ? nameEnd[2] : 'S';
        if (state == 'R' || state == 'D') {
            asleep = false;
            break;
        }
    }
    closedir(tasks);
    return asleep;
}

#endif
