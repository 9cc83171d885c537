// Every program of the C corpus imports: its charts, their captions, and a
// few blocks of each, by kind and text.
#include "c_import_support.h"
#include <QDir>
#include <gtest/gtest.h>

namespace tvx::test {
namespace {

struct TBlockCheck {
    int Chart;
    TBlockKind Kind;
    const char* Text;
};

struct TCorpusFile {
    const char* Name;
    std::vector<const char*> Captions;
    std::vector<TBlockCheck> Blocks;
};

bool HasBlock(const TFCList& Chart, TBlockKind Kind, const QString& Text) {
    for (int i = 1; i < Chart.Count(); ++i) {
        if (Chart.GetBlock(i)->Kind == Kind && Chart.GetBlock(i)->Text == Text) {
            return true;
        }
    }
    return false;
}

const std::vector<TCorpusFile>& Corpus() {
    static const std::vector<TCorpusFile> corpus = {
        {"hello.c", {"int main(void)"}, {{0, bkProcess, "printf(\"Hello, world!\\n\")"}}},
        {"digit_sum.c",
         {"int main()"},
         {{0, bkWhile, "n>0"}, {0, bkProcess, "sum += n%10"}, {0, bkIfElse, "n<0"}}},
        {"factorial.c",
         {"unsigned long factorial_rec(unsigned int n)",
          "unsigned long factorial_loop(unsigned int n)", "int main(void)"},
         {{0, bkProcess, "return n*factorial_rec(n-1)"},
          {1, bkFor, "(i=2; i<=n; i++)"},
          {2, bkIfElse, "factorial_rec(k)!=factorial_loop(k)"}}},
        {"fizzbuzz.c",
         {"int main(int argc, char* argv[])"},
         {{0, bkIfElse, "i%15==0"}, {0, bkIfElse, "i%5==0"}, {0, bkProcess, "puts(\"Buzz\")"}}},
        {"bubble_sort.c",
         {"static void swap(int* a, int* b)", "void bubble_sort(int v[], int n)",
          "void print_array(const int* v, int n)", "int main(void)"},
         {{1, bkFor, "(j=0; j<n-1-i; j++)"}, {1, bkIfElse, "!swapped"}, {0, bkProcess, "*a = *b"}}},
        {"gcd_lcm.c",
         {"int gcd(a, b)", "long lcm(a, b)", "main()"},
         {{0, bkWhile, "b!=0"}, {1, bkProcess, "return (long)a/gcd(a,b)*b"}}},
        {"temperature.c",
         {"main()"},
         {{0, bkWhile, "fahr<=upper"}, {0, bkProcess, "celsius = (5.0/9.0)*(fahr-32.0)"}}},
        {"guess.c",
         {"int main(void)"},
         {{0, bkRepeat, "guess!=secret"}, {0, bkProcess, "srand((unsigned)time(NULL))"}}},
        {"sieve.c",
         {"static size_t count_primes(const unsigned char* sieve, size_t bound)",
          "int main(int argc, char** argv)"},
         {{0, bkIfElse, "!IS_MARKED(sieve,i)"}, {1, bkFor, "(j=i*i; j<bound; j+=i)"}}},
        {"linked_list.c",
         {"List* list_new(void)", "int list_append(List* list, int value)",
          "Node* list_find(const List* list, int value)", "void list_reverse(List* list)",
          "void list_free(List* list)", "int main(void)"},
         {{1, bkProcess, "list->tail->next = node"},
          {2, bkFor, "(p=list->head; p!=NULL&&p->value!=value; p=p->next)"},
          {2, bkProcess, ""},
          {3, bkWhile, "cur"}}},
        {"calculator.c",
         {"static struct token next_token(void)", "int evaluate(const char* text, double* result)",
          "int main(void)"},
         {{0, bkProcess, "t.op = *cursor++"},
          {1, bkFor, "(; ; )"},
          {1, bkProcess, "acc /= num.value"},
          {2, bkWhile, "fgets(line,sizeof line,stdin)!=NULL"}}},
        {"string_utils.c",
         {"size_t str_length(const char* s)", "char* str_copy(char* dst, const char* src)",
          "int str_compare(const char* a, const char* b)", "void str_reverse(char* s)",
          "char* str_trim(char* s)", "int count_words(const char* s)"},
         {{1, bkWhile, "(*d++=*src++)!='\\0'"},
          {1, bkProcess, ""},
          {3, bkRepeat, "s<end-1&&s<end"},
          {5, bkRepeat, "*s++"}}},
        {"matrix.c",
         {"void mat_mul(int n, const double a[n][n], const double b[n][n], double out[n][n])",
          "bool mat_is_identity(int n, const double m[n][n])",
          "void mat_print(int n, const double m[n][n])", "int main(void)"},
         {{0, bkFor, "(int k=0; k<n; k++)"}, {0, bkProcess, "sum += a[i][k]*b[k][j]"}}},
        {"callbacks.c",
         {"static int op_add(int a, int b)", "static int op_sub(int a, int b)",
          "static int op_mul(int a, int b)", "binary_op find_op(const char* name)",
          "static int compare_ints(const void* pa, const void* pb)",
          "void for_each_name(const char** names, size_t count, visit_fn visit, void* user)",
          "static void print_name(const char* name, void* user)", "int main(void)"},
         {{3, bkProcess, "return commands[i].apply"},
          {5, bkProcess, "visit(*names++,user)"},
          {7, bkProcess, "printf(\"%d\\n\",(*fallback)(1,2))"}}},
        {"shapes.h", {}, {}},
        {"config_reader.c",
         {"static char* trim(char* s)", "int config_load(config_table* table, const char* path)",
          "const char* config_get(const config_table* table, const char* key, const char* "
          "fallback)",
          "long config_get_long(const config_table* table, const char* key, long fallback)"},
         {{1, bkWhile, "fgets(line,sizeof(line),fp)"},
          {1, bkProcess, "LOG_ERROR(\"line %d: missing '='\",lineno)"},
          {3, bkProcess, "return (errno||*end)?fallback:value"}}},
        {"curl_fetch.c",
         {"static size_t write_cb(void* contents, size_t size, size_t nmemb, void* userp)",
          "int fetch(const char* url, struct buffer* out)", "int main(int argc, char** argv)"},
         {{1, bkProcess, "res = curl_easy_perform(curl)"},
          {1, bkIfElse, "res!=CURLE_OK"},
          {1, bkProcess, "curl_easy_setopt(curl,CURLOPT_WRITEDATA,(void*)out)"}}},
        {"gtk_counter.c",
         {"static void on_clicked(GtkButton* button, gpointer user_data)",
          "static gboolean on_delete(GtkWidget* widget, GdkEvent* event, gpointer data)",
          "int main(int argc, char* argv[])"},
         {{0, bkProcess, "(void)button"},
          {2, bkProcess, "g_signal_connect(button,\"clicked\",G_CALLBACK(on_clicked),&state)"}}},
        {"bank_account.c",
         {"account_t* open_account(const char* owner)",
          "int apply(account_t* a, action_t action, long amount)",
          "action_t parse_action(const char* word)", "int main(void)"},
         {{1, bkProcess, "a->cents -= amount"}, {3, bkIfElse, "act==QUIT"}}},
        {"traffic_light.c",
         {"enum light next_state(enum light s, int pedestrian_waiting)", "int run(int cycles)",
          "int main(void)"},
         {{0, bkIfElse, "pedestrian_waiting"},
          {1, bkIfElse, "++tick<cycles*4"},
          {1, bkProcess, "fprintf(stderr,\"cycles must be positive\\n\")"}}},
        {"binary_tree.c",
         {"struct tree* tree_insert(struct tree* t, int key)",
          "int tree_height(const struct tree* t)",
          "void tree_print(const struct tree* t, int depth)", "void tree_free(struct tree* t)",
          "int main(void)"},
         {{0, bkProcess, "t->left = t->right=NULL"},
          {1, bkProcess, "return 1+(l>r?l:r)"},
          {3, bkWhile, "t!=NULL"}}},
        {"bit_tricks.c",
         {"unsigned popcount32(uint32_t x)", "int is_power_of_two(u64 v)",
          "uint32_t rotate_left(uint32_t v, unsigned n)", "u64 next_power_of_two(u64 v)",
          "int sign_of(int x)", "unsigned char reverse_bits(unsigned char b)",
          "void flags_demo(unsigned* flags)"},
         {{0, bkProcess, "x = (x&0x33333333u)+((x>>2)&0x33333333u)"},
          {5, bkFor, "(i=0; i<CHAR_BIT; i++,b>>=1)"},
          {6, bkProcess, "*flags &= ~(1u<<1)"},
          {6, bkProcess, "*flags = +*flags"}}},
        {"utf8_messages.c",
         {"const char* greeting(enum lang l)", "int main(void)"},
         {{1, bkProcess, "printf(\"%s, мир!\\n\",greeting(LANG_RU))"},
          {1, bkProcess, "printf(\"«%s» — \\\"quoted\\\"\\n\",greeting(LANG_DE))"}}},
        {"logger.c",
         {"void log_init(FILE* stream, log_level level)",
          "static void log_vwrite(log_level level, const char* fmt, va_list ap)",
          "void log_write(log_level level, const char* fmt, ...)", "int sum_ints(int count, ...)",
          "size_t join_strings(char* out, size_t size, const char* sep, ...)"},
         {{2, bkProcess, "va_start(ap,fmt)"},
          {3, bkProcess, "total += va_arg(ap,int)"},
          {4, bkWhile, "(piece=va_arg(ap,const char*))!=NULL"}}},
        {"nesting.c",
         {"const char* classify(int x, int y)", "int grade(int score)", "void count_down(int n)"},
         {{0, bkIfElse, "y>0"},
          {1, bkProcess, "g = 2"},
          {2, bkProcess, "printf(\"%d even\\n\",n--)"}}},
        {"firmware.c",
         {"void __attribute__((interrupt)) systick_handler(void)",
          "static inline uint8_t checksum(const uint8_t* data, uint16_t len)",
          "void delay_ms(uint32_t ms)", "int uart_queue(const uint8_t* data, uint16_t len)",
          "void encode_sample(sample_t* s, uint16_t value, uint8_t channel)", "int main(void)"},
         {{2, bkWhile, "(uint32_t)(ticks-start)<ms"},
          {4, bkProcess, "tx_buffer[0] = (uint8_t)(value>>8)"},
          {5, bkProcess, "GPIO_ODR ^= 1u<<LED_PIN"}}},
        {"inventory.c",
         {"static int parse_unsigned(text, out)",
          "static int parse_money(const char* text, money_t* out)",
          "static void format_money(money_t m, char* buf, size_t size)",
          "static item* find_item(inventory* inv, const char* sku)",
          "static void rebuild_low_stock(inventory* inv)",
          "static int by_name(const void* a, const void* b)",
          "static int by_qty(const void* a, const void* b)",
          "static int by_value(const void* a, const void* b)",
          "static int cmd_add(inventory* inv, int argc, char** argv)",
          "static int cmd_remove(inventory* inv, int argc, char** argv)",
          "static int cmd_list(inventory* inv, int argc, char** argv)",
          "static int cmd_report(inventory* inv, int argc, char** argv)",
          "static int cmd_save(inventory* inv, int argc, char** argv)",
          "static int cmd_load(inventory* inv, int argc, char** argv)",
          "static int split_words(char* line, char** words, int max)",
          "int dispatch(inventory* inv, int argc, char** argv)", "int main(int argc, char** argv)"},
         {{0, bkProcess, "v = strtoul(text,&end,10)"},
          {8, bkProcess, "CHECK(strlen(argv[1])<=SKU_LEN,\"sku too long\")"},
          {13, bkWhile, "n<4&&(fields[n]=strtok(n==0?p:NULL,\"\\t\\n\"))!=NULL"},
          {15, bkProcess, "return cmd->run(inv,argc,argv)"},
          {16, bkProcess, "failures++"}}},
        {"word_freq.c",
         {"static unsigned long hash_word(const char* s)", "static char* copy_word(const char* s)",
          "int table_add(word_table* t, const char* word)",
          "void table_visit(const word_table* t, entry_visitor visit, void* context)",
          "void table_clear(word_table* t)",
          "static int is_stop_word(const options* opt, const char* word)",
          "int count_stream(word_table* t, FILE* in, const options* opt)",
          "static void collect_top(const entry* e, void* context)",
          "static void parse_options(int* argc, char*** argv, options* opt)",
          "int main(int argc, char** argv)"},
         {{0, bkProcess, "h = ((h<<5)+h)^(unsigned long)c"},
          {6, bkRepeat, "c!=EOF"},
          {8, bkProcess, "opt->ignore_case = 1"},
          {9, bkProcess, "table_visit(&table,collect_top,&top)"}}},
    };
    return corpus;
}

TEST(CCorpus, EveryProgramImportsWithItsChartsCaptionsAndBlocks) {
    for (const TCorpusFile& file : Corpus()) {
        SCOPED_TRACE(file.Name);
        const TCImport result = ImportCCorpus(QString::fromUtf8(file.Name));
        ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
        QStringList captions;
        for (const char* caption : file.Captions) {
            captions << QString::fromUtf8(caption);
        }
        EXPECT_EQ(result.Captions(), captions);
        EXPECT_EQ(result.Tally.Fault(), "");
        for (const auto& chart : result.Charts) {
            EXPECT_EQ(ChartFault(*chart), "") << chart->Caption.toStdString();
            EXPECT_EQ(chart->First()->Text, chart->Caption);
        }
        for (const TBlockCheck& check : file.Blocks) {
            ASSERT_LT(size_t(check.Chart), result.Charts.size());
            EXPECT_TRUE(HasBlock(*result.Charts[size_t(check.Chart)], check.Kind,
                                 QString::fromUtf8(check.Text)))
                << "chart " << check.Chart << ": " << int(check.Kind) << " " << check.Text;
        }
    }
}

TEST(CCorpus, ListsEveryFileOfTheFolder) {
    // A program added to the folder must be added to the table above too.
    const QStringList files =
        QDir(QStringLiteral(TVX_IMPORT_CORPUS_DIR "c")).entryList(QDir::Files, QDir::Name);
    QStringList listed;
    for (const TCorpusFile& file : Corpus()) {
        listed << QString::fromUtf8(file.Name);
    }
    listed.sort();
    EXPECT_EQ(files, listed);
}

} // namespace
} // namespace tvx::test
