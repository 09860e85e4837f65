#include "model/cell_objects.h"

object_description describe_object(uint8_t tipo_oggetto) {
    switch (tipo_oggetto) {
        case OGGETTO_NESSUNO: return {"none", {}};
        case OGGETTO_SEGNALE:
            return {"signal", {"s1*10+d1", "s2*10+d2", "s3*10+d3", "rapp*10+sx*3+dx"}};
        case OGGETTO_FINE_RALLENTAMENTO: return {"restriction end", {"speed", "d_v", "f_tt", ""}};
        case OGGETTO_INIZIO_RALLENTAMENTO: return {"restriction start", {"speed", "d_v", "f_tt", ""}};
        case OGGETTO_AVVISO_RALLENTAMENTO: return {"restriction warning", {"speed", "d_v", "", ""}};
        case OGGETTO_PREAVVISO_RALLENTAMENTO: return {"restriction pre-warning", {"number", "number (d_v)", "", ""}};
        case OGGETTO_INDICATORE_V_MAX:
            return {"speed-indicator board", {"vas*20+vad/5", "vbs*20+vbd/5", "vcs*20+vcd/5", "strisces*10+strisced"}};
        case OGGETTO_STAZIONE: return {"station mark", {"station record", "", "", ""}};
        case OGGETTO_MONTAGNA: return {"mountain-span marker", {}};
        case OGGETTO_ABBATTIMENTO: return {"code cut", {"value", "", "", ""}};
        case OGGETTO_ABBATTIMENTO_SENZA_VALORE: return {"code cut without value", {}};
        case OGGETTO_CARTELLO_INDICATORE: return {"indication board", {"text record", "", "", ""}};
        default: return {"unknown object", {}};
    }
}

int64_t object_metres(uint8_t tipo_oggetto, int64_t k) {
    switch (tipo_oggetto) {
        case OGGETTO_SEGNALE:
        case OGGETTO_FINE_RALLENTAMENTO:
        case OGGETTO_INIZIO_RALLENTAMENTO:
        case OGGETTO_AVVISO_RALLENTAMENTO:
        case OGGETTO_PREAVVISO_RALLENTAMENTO:
        case OGGETTO_INDICATORE_V_MAX:
        case OGGETTO_CARTELLO_INDICATORE: return (k - 1) * METRI_CELLA;
        default: return k * METRI_CELLA;
    }
}
