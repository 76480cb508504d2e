// Keeps two runs of the program from writing one report file at once. Each platform has its
// own file; the build picks one.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_REPORT_LOCK_H_
#define SPHENISCHEZAHLEN_DIALOGUE_REPORT_LOCK_H_

// Locks file_name against other runs for as long as this process lives, creating the file if
// it is missing but never changing what it holds. Returns false only when another run holds
// the lock. A lock that cannot be had for any other reason (no regular file, no permission,
// no locks on that file system) lets the run go on unlocked. Other programs may read and
// write the file all the same.
bool lock_report_file(const char* file_name);

#endif  // SPHENISCHEZAHLEN_DIALOGUE_REPORT_LOCK_H_
