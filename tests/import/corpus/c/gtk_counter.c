/* A window with a button that counts its clicks (GTK names, header unseen). */
#include <gtk/gtk.h>

typedef struct {
    GtkWidget *label;
    guint clicks;
} AppState;

static void on_clicked(GtkButton *button, gpointer user_data)
{
    AppState *state = (AppState *)user_data;
    gchar *text;

    (void)button;
    state->clicks++;
    text = g_strdup_printf("Clicked %u times", state->clicks);
    gtk_label_set_text(GTK_LABEL(state->label), text);
    g_free(text);
}

static gboolean on_delete(GtkWidget *widget, GdkEvent *event, gpointer data)
{
    gtk_main_quit();
    return FALSE;
}

int main(int argc, char *argv[])
{
    GtkWidget *window, *box, *button;
    AppState state = { NULL, 0 };

    gtk_init(&argc, &argv);
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Counter");
    box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    state.label = gtk_label_new("Not clicked yet");
    button = gtk_button_new_with_label("Click me");
    g_signal_connect(button, "clicked", G_CALLBACK(on_clicked), &state);
    g_signal_connect(window, "delete-event", G_CALLBACK(on_delete), NULL);
    gtk_container_add(GTK_CONTAINER(box), state.label);
    gtk_container_add(GTK_CONTAINER(box), button);
    gtk_container_add(GTK_CONTAINER(window), box);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
