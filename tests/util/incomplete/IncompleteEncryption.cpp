// Offers only the encoding half of the password library's entry points.
extern "C" {
int encryption_encode_guess_count(const char*, long inLength, long* outLength) {
    *outLength = inLength;
    return 0;
}
int encryption_encode(const char* in, long inLength, char* out, long* outLength) {
    for (long i = 0; i < inLength; ++i) out[i] = in[i];
    *outLength = inLength;
    return 0;
}
}
