/* The reference for a run under Wine: a console exe that does nothing. */
int main(void)
{
    return 0;
}
