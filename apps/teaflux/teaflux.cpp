// teaflux: a GLUT sample that draws the solid teapot under the GLSL shader
// pair "flatten.vert" / "flatten.frag", fed a float uniform "time" that counts
// frames. It uses the ARB shader-object functions through GLEW and shares no
// code with the engine. Messages go to standard output.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "teaflux_helpers.h"

namespace {

constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
constexpr int kWindowSize = 320;
constexpr unsigned char kEscapeKey = 27;
constexpr double kFieldOfViewDegrees = 45.0;
constexpr double kNearPlane = 1.0;
constexpr double kFarPlane = 100.0;
// Size 1.5 makes the teapot fill most of the window seen from (0, 5, 5).
constexpr double kTeapotSize = 1.5;

GLhandleARB vertexShader;
GLhandleARB fragmentShader;
GLhandleARB program;
GLint timeLocation;
float shaderTime;

void printObjectLog(GLhandleARB object) {
    GLint length = 0;
    glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 0) {
        return;
    }
    // One byte more than asked for, zeroed, keeps the text terminated whatever
    // the driver writes.
    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    GLsizei written = 0;
    glGetInfoLogARB(object, length, &written, log.data());
    printf("%s\n", log.data());
}

// A shader whose file cannot be read gets no source at all: its compile then
// fails and the logs say so, and the program keeps drawing without it.
void loadShaderSource(GLhandleARB shader, const char* name) {
    std::string path = findDataFile(name);
    std::unique_ptr<char[]> text = readTextFile(path.c_str());
    if (!text) {
        printf("Could not read shader file %s\n", path.c_str());
        return;
    }
    const GLcharARB* source = text.get();
    glShaderSourceARB(shader, 1, &source, nullptr);
}

void buildShaderProgram() {
    vertexShader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    fragmentShader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    loadShaderSource(vertexShader, "flatten.vert");
    loadShaderSource(fragmentShader, "flatten.frag");

    glCompileShaderARB(vertexShader);
    glCompileShaderARB(fragmentShader);
    printObjectLog(vertexShader);
    printObjectLog(fragmentShader);

    program = glCreateProgramObjectARB();
    glAttachObjectARB(program, vertexShader);
    glAttachObjectARB(program, fragmentShader);
    glLinkProgramARB(program);
    printObjectLog(program);

    glUseProgramObjectARB(program);
    timeLocation = glGetUniformLocationARB(program, "time");
}

void onReshape(int width, int height) {
    ReshapeView view = reshapeView(width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, view.width, view.height);
    gluPerspective(kFieldOfViewDegrees, view.ratio, kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
}

void drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0.0, 5.0, 5.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glUniform1fARB(timeLocation, shaderTime);
    glTranslatef(0.0f, 0.1f, 0.0f);
    glutSolidTeapot(kTeapotSize);
    shaderTime += 1.0f;
    glutSwapBuffers();
}

void onKey(unsigned char key, int, int) {
    if (key == kEscapeKey) {
        exit(0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Line-buffered, so that a reader on a pipe sees each message as it is
    // printed, not only when the program ends.
    setvbuf(stdout, nullptr, _IOLBF, 0);

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DEPTH | GLUT_DOUBLE | GLUT_RGBA);
    glutInitWindowPosition(kWindowX, kWindowY);
    glutInitWindowSize(kWindowSize, kWindowSize);
    glutCreateWindow("Quennel");

    glutDisplayFunc(drawFrame);
    glutIdleFunc(drawFrame);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKey);

    glEnable(GL_DEPTH_TEST);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);

    glewInit();
    if (!GLEW_ARB_vertex_shader || !GLEW_ARB_fragment_shader) {
        printf("No GLSL support\n");
        return 1;
    }
    printf("Ready for GLSL\n");

    buildShaderProgram();
    glutMainLoop();
    return 0;
}
