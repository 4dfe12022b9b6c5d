/*
 * Synthesizes a verse with the HTS engine from full-context labels whose
 * times are the recitation's, and evens out the pitch before the waveform is
 * made: the part of the voice that hts_engine's command line cannot reach.
 *
 *   hts_recite VOICE.htsvoice LABELS PLAN OUT.wav
 *
 * LABELS: "start end label" lines, times in 100 ns; every phoneme's end is
 * where it is asked to be (phoneme alignment).
 * PLAN: lines of 5 ms frames, "phrase FIRST END KEEP": inside the phrase the
 * log F0 keeps only KEEP (0..1) of its movement around the phrase's straight
 * trend; "hold FIRST END": the log F0 is held at one value from FIRST on
 * (the trend's value there), so that a drawn-out sound is one steady pitch.
 * Hold frames are left out of their phrase's trend. "stretch FIRST END":
 * the phoneme whose states fill these frames keeps short transitions
 * (STRETCH_EDGE frames a state) and its middle state takes the rest, so that
 * a drawn-out vowel is one steady sound rather than its fade to silence
 * drawn out with it; and it is voiced in every state.
 */
#include <HTS_engine.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { LF0_STREAM = 1, STRETCH_EDGE = 4 };

typedef struct {
    size_t frames;
    double *lf0; /* per frame; NAN where unvoiced */
    int *held; /* per frame: inside a hold */
} Contour;

/* Least-squares line through the voiced, not held frames of [first, end). */
static int fit_trend(const Contour *c, size_t first, size_t end, double *a, double *b)
{
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t t = first; t < end; t++) {
        if (isnan(c->lf0[t]) || c->held[t])
            continue;
        n += 1;
        sx += t;
        sy += c->lf0[t];
        sxx += (double)t * t;
        sxy += t * c->lf0[t];
    }
    if (n < 2)
        return 0;
    const double d = n * sxx - sx * sx;
    *b = d != 0 ? (n * sxy - sx * sy) / d : 0;
    *a = (sy - *b * sx) / n;
    return 1;
}

static void flatten_phrase(Contour *c, size_t first, size_t end, double keep)
{
    double a, b;
    if (!fit_trend(c, first, end, &a, &b))
        return;
    for (size_t t = first; t < end; t++) {
        if (!isnan(c->lf0[t]) && !c->held[t])
            c->lf0[t] = a + b * t + keep * (c->lf0[t] - (a + b * t));
    }
}

/* A held stretch takes the flattened pitch of the last voiced frame before it,
 * or its own first voiced value. */
static void fill_holds(Contour *c)
{
    double value = NAN;
    for (size_t t = 0; t < c->frames; t++) {
        if (!c->held[t]) {
            if (!isnan(c->lf0[t]))
                value = c->lf0[t];
            continue;
        }
        if (isnan(value))
            value = c->lf0[t];
        if (!isnan(c->lf0[t]))
            c->lf0[t] = value;
    }
}

/* Three-frame smoothing of voiced runs, so that no edited frame steps. */
static void smooth(Contour *c)
{
    double *copy = malloc(c->frames * sizeof *copy);
    if (!copy)
        return;
    memcpy(copy, c->lf0, c->frames * sizeof *copy);
    for (size_t t = 1; t + 1 < c->frames; t++) {
        if (!isnan(copy[t - 1]) && !isnan(copy[t]) && !isnan(copy[t + 1]))
            c->lf0[t] = (copy[t - 1] + 2 * copy[t] + copy[t + 1]) / 4;
    }
    free(copy);
}

/* Before the parameters are generated: the state durations of every
 * stretched phoneme. */
static int apply_stretches(HTS_Engine *engine, const char *plan_path)
{
    FILE *plan = fopen(plan_path, "r");
    if (!plan) {
        fprintf(stderr, "hts_recite: cannot read %s\n", plan_path);
        return 0;
    }
    HTS_SStreamSet *sss = &engine->sss;
    char kind[16];
    size_t first, end;
    double keep;
    while (fscanf(plan, "%15s %zu %zu", kind, &first, &end) == 3) {
        if (strcmp(kind, "phrase") == 0 && fscanf(plan, "%lf", &keep) != 1)
            break;
        if (strcmp(kind, "stretch") != 0)
            continue;
        size_t at = 0, from = sss->total_state, to = 0;
        for (size_t k = 0; k < sss->total_state; at += sss->duration[k], k++) {
            if (at >= first && at + sss->duration[k] <= end) {
                if (from == sss->total_state)
                    from = k;
                to = k + 1;
            }
        }
        if (from >= to)
            continue;
        /* A stretched sound is voiced throughout: no whispered vowel. */
        for (size_t k = from; k < to; k++)
            sss->sstream[LF0_STREAM].msd[k] = 1.0;
        const size_t middle = from + (to - from) / 2;
        size_t spare = 0;
        for (size_t k = from; k < to; k++) {
            if (k != middle && sss->duration[k] > STRETCH_EDGE) {
                spare += sss->duration[k] - STRETCH_EDGE;
                sss->duration[k] = STRETCH_EDGE;
            }
        }
        sss->duration[middle] += spare;
    }
    fclose(plan);
    return 1;
}

static int apply_plan(HTS_Engine *engine, const char *plan_path)
{
    HTS_PStream *stream = &engine->pss.pstream[LF0_STREAM];
    Contour c = {engine->pss.total_frame, NULL, NULL};
    c.lf0 = malloc(c.frames * sizeof *c.lf0);
    c.held = calloc(c.frames, sizeof *c.held);
    FILE *plan = fopen(plan_path, "r");
    if (!c.lf0 || !c.held || !plan) {
        fprintf(stderr, "hts_recite: cannot read %s\n", plan_path);
        free(c.lf0);
        free(c.held);
        if (plan)
            fclose(plan);
        return 0;
    }
    /* The generated log F0 is stored for voiced frames only. */
    size_t voiced = 0;
    for (size_t t = 0; t < c.frames; t++)
        c.lf0[t] = stream->msd_flag[t] ? stream->par[voiced++][0] : NAN;

    char kind[16];
    size_t first, end;
    double keep;
    long phrases_at = ftell(plan);
    while (fscanf(plan, "%15s %zu %zu", kind, &first, &end) == 3) {
        if (strcmp(kind, "phrase") == 0 && fscanf(plan, "%lf", &keep) != 1)
            break;
        if (strcmp(kind, "hold") == 0) {
            for (size_t t = first; t < end && t < c.frames; t++)
                c.held[t] = 1;
        }
    }
    fseek(plan, phrases_at, SEEK_SET);
    while (fscanf(plan, "%15s %zu %zu", kind, &first, &end) == 3) {
        if (strcmp(kind, "phrase") != 0)
            continue;
        if (fscanf(plan, "%lf", &keep) != 1)
            break;
        flatten_phrase(&c, first, end < c.frames ? end : c.frames, keep);
    }
    fclose(plan);
    fill_holds(&c);
    smooth(&c);

    voiced = 0;
    for (size_t t = 0; t < c.frames; t++) {
        if (stream->msd_flag[t])
            stream->par[voiced++][0] = c.lf0[t];
    }
    free(c.lf0);
    free(c.held);
    return 1;
}

int main(int argc, char **argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: hts_recite VOICE.htsvoice LABELS PLAN OUT.wav\n");
        return 2;
    }
    HTS_Engine engine;
    HTS_Engine_initialize(&engine);
    char *voices[] = {argv[1]};
    int ok = HTS_Engine_load(&engine, voices, 1);
    if (!ok)
        fprintf(stderr, "hts_recite: cannot load the voice %s\n", argv[1]);
    HTS_Engine_set_phoneme_alignment_flag(&engine, TRUE);
    HTS_Engine_set_audio_buff_size(&engine, 0);
    ok = ok && HTS_Engine_generate_state_sequence_from_fn(&engine, argv[2])
        && apply_stretches(&engine, argv[3]) && HTS_Engine_generate_parameter_sequence(&engine) && apply_plan(&engine, argv[3])
        && HTS_Engine_generate_sample_sequence(&engine);
    FILE *out = ok ? fopen(argv[4], "wb") : NULL;
    if (out) {
        HTS_Engine_save_riff(&engine, out);
        ok = fclose(out) == 0;
    } else {
        ok = 0;
    }
    if (!ok)
        fprintf(stderr, "hts_recite: could not synthesize %s\n", argv[2]);
    HTS_Engine_clear(&engine);
    return ok ? 0 : 1;
}
