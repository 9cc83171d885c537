/*
 * Downloads a URL into memory. The types come from a library header that the
 * importer never sees: CURL, CURLcode, CURLE_OK and the like are only names.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <curl/curl.h>

struct buffer {
    char *data;
    size_t size;
};

static size_t write_cb(void *contents, size_t size, size_t nmemb, void *userp)
{
    size_t realsize = size * nmemb;
    struct buffer *mem = (struct buffer *)userp;
    char *ptr = realloc(mem->data, mem->size + realsize + 1);

    if (ptr == NULL)
        return 0;
    mem->data = ptr;
    memcpy(&(mem->data[mem->size]), contents, realsize);
    mem->size += realsize;
    mem->data[mem->size] = 0;
    return realsize;
}

int fetch(const char *url, struct buffer *out)
{
    CURL *curl;
    CURLcode res;
    long status = 0;

    out->data = malloc(1);
    out->size = 0;
    curl = curl_easy_init();
    if (!curl)
        return -1;
    curl_easy_setopt(curl, CURLOPT_URL, url);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, write_cb);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, (void *)out);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    res = curl_easy_perform(curl);
    if (res != CURLE_OK) {
        fprintf(stderr, "fetch failed: %s\n", curl_easy_strerror(res));
    } else {
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    }
    curl_easy_cleanup(curl);
    return res == CURLE_OK && status == 200 ? 0 : -1;
}

int main(int argc, char **argv)
{
    struct buffer page;

    if (argc < 2) {
        fprintf(stderr, "usage: %s URL\n", argv[0]);
        return 2;
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);
    if (fetch(argv[1], &page) == 0)
        printf("%lu bytes\n", (unsigned long)page.size);
    free(page.data);
    curl_global_cleanup();
    return 0;
}
