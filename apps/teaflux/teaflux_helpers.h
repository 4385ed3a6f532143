// teaflux_helpers: the parts of the teaflux sample that need no window, kept
// apart from the GLUT program so that tests can link them on their own.
#pragma once

#include <memory>
#include <string>

// Reads a whole text file into a new NUL-terminated buffer. Gives null for a
// null path, a file that cannot be opened or read, something that is not a
// regular file, and an empty file.
std::unique_ptr<char[]> readTextFile(const char* path);

// Where a data file such as "flatten.vert" is read from: the current directory
// when it is there, else the directory of the running executable, so that the
// built program runs from anywhere, else the installed tree's share/orvane
// folder when the file is there.
std::string findDataFile(const char* name);

// Viewport size and aspect ratio for a window of the given size.
struct ReshapeView {
    int width;
    int height;
    float ratio;
};

// A height of 0 (a window shrunk to nothing) counts as 1, so the ratio stays
// finite and the viewport is never empty in height.
ReshapeView reshapeView(int width, int height);

// Prints one line per pending OpenGL error, naming the caller's file and line,
// and gives 1 if it printed any, else 0. Needs a current OpenGL context.
int reportGlErrors(const char* file, int line);
