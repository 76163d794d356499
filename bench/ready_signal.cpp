// Started by the start benchmark: tells it that it runs by writing one byte into the pipe
// named by its argument.
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    const int pipe = open(argv[1], O_WRONLY);
    return pipe >= 0 && write(pipe, "!", 1) == 1 ? 0 : 1;
}
