extern "C" __attribute__((visibility("default"))) int ProbeAnswer(int value)
{
    return value * 2 + 1;
}
