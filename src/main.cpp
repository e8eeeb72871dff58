int QuillMain(int argc, char** argv);

int main(int argc, char** argv)
{
    return QuillMain(argc, argv);
}
