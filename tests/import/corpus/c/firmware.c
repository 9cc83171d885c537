/* Microcontroller style: registers behind volatile pointers, bit fields,
   fixed-width types from a header the importer never sees. */
#include <stdint.h>
#include "board.h"

#define REG32(addr)   (*(volatile uint32_t *)(addr))
#define GPIO_BASE     0x40020000UL
#define GPIO_ODR      REG32(GPIO_BASE + 0x14)
#define LED_PIN       5u
#define TICKS_PER_MS  16000u

typedef union {
    uint8_t raw[4];
    struct {
        uint16_t value;
        uint8_t channel : 4;
        uint8_t valid : 1;
        uint8_t reserved : 3;
        uint8_t checksum;
    } fields;
} sample_t;

static volatile uint32_t ticks;
static uint8_t tx_buffer[64];
static uint16_t tx_head, tx_tail;

void __attribute__((interrupt)) systick_handler(void)
{
    ticks++;
}

static inline uint8_t checksum(const uint8_t *data, uint16_t len)
{
    uint8_t sum = 0;

    while (len--)
        sum = (uint8_t)(sum + *data++);
    return (uint8_t)(~sum + 1u);
}

void delay_ms(uint32_t ms)
{
    uint32_t start = ticks;

    while ((uint32_t)(ticks - start) < ms)
        __asm_nop();
}

int uart_queue(const uint8_t *data, uint16_t len)
{
    uint16_t next;

    while (len > 0) {
        next = (uint16_t)((tx_head + 1u) % sizeof tx_buffer);
        if (next == tx_tail)
            return -1;
        tx_buffer[tx_head] = *data++;
        tx_head = next;
        len--;
    }
    UART1->CR1 |= UART_CR1_TXEIE;
    return 0;
}

void encode_sample(sample_t *s, uint16_t value, uint8_t channel)
{
    s->fields.value = value;
    s->fields.channel = channel & 0x0Fu;
    s->fields.valid = 1;
    s->fields.checksum = checksum(s->raw, 3);
    tx_buffer[0] = (uint8_t)(value >> 8);
    tx_buffer[1] = (uint8_t)value;
}

int main(void)
{
    sample_t sample;
    uint16_t reading;

    board_init();
    for (;;) {
        GPIO_ODR ^= 1u << LED_PIN;
        reading = adc_read(ADC_CHANNEL_3);
        encode_sample(&sample, reading, 3);
        if (uart_queue(sample.raw, sizeof sample.raw) != 0)
            error_count++;
        delay_ms(500);
    }
}
