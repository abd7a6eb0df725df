#!/usr/bin/env python3
# Writes the updater's per-language text resources (resources/patchora/Language/l_<code>):
# UTF-8 with byte-order mark, CRLF line ends, group [AutoUpdate], "id<TAB>=<TAB>text".
# Texts with a comma or with blanks at either end are quoted so that the settings
# reader keeps them whole. A text left out of a language falls back to English.
import os

ENU = [
    "Analysing update information...", "Downloading updated file...", "Updating...",
    "Deleting temporary file...", "Closing update process...", "Update finished.\\nRun %1 now? ",
    "Cancel update?", "New version was detected.", "Will you update now?", "At Next Execution",
    "Tommorrow", "1 Week Later", "1 Month Later", "Select Update Action", "Current Version",
    "Updated Version", "Yes", "Background", "Later", "Download updated file and install now.",
    "Start downloading updated file backgroud, and install at next execution.",
    "Do not update now, and show this dialog later.", "Cancel download?",
    "Fail to download the update file.", "Fail to backup.", "Fail to unzip the update file.",
    "Fail to copy new files.", "Fail to delete files/folders.", "Fail to overwrite.", "Fail to run.",
    "Fail to register.", "Updated Version Downloaded.", "Update will be installed.",
    "Patchora is already running.",
]

T = {
 "DEU": ["Update-Informationen werden geprüft...", "Update wird heruntergeladen...", "Aktualisierung läuft...",
   "Temporäre Dateien werden gelöscht...", "Update wird beendet...", "Update abgeschlossen.\\n%1 jetzt starten? ",
   "Update abbrechen?", "Eine neue Version wurde gefunden.", "Jetzt aktualisieren?", "Beim nächsten Start",
   "Morgen", "In einer Woche", "In einem Monat", "Update-Aktion wählen", "Aktuelle Version", "Neue Version",
   "Ja", "Hintergrund", "Später", "Update herunterladen und jetzt installieren.",
   "Update im Hintergrund herunterladen und beim nächsten Start installieren.",
   "Jetzt nicht aktualisieren und später erneut fragen.", "Download abbrechen?",
   "Das Update konnte nicht heruntergeladen werden.", "Sicherung fehlgeschlagen.",
   "Das Update konnte nicht entpackt werden.", "Neue Dateien konnten nicht kopiert werden.",
   "Dateien/Ordner konnten nicht gelöscht werden.", "Überschreiben fehlgeschlagen.", "Start fehlgeschlagen.",
   "Registrierung fehlgeschlagen.", "Neue Version heruntergeladen.", "Das Update wird installiert.",
   "Patchora läuft bereits."],
 "FRA": ["Analyse des informations de mise à jour...", "Téléchargement de la mise à jour...", "Mise à jour...",
   "Suppression des fichiers temporaires...", "Fermeture de la mise à jour...", "Mise à jour terminée.\\nLancer %1 maintenant ? ",
   "Annuler la mise à jour ?", "Une nouvelle version a été détectée.", "Mettre à jour maintenant ?", "Au prochain démarrage",
   "Demain", "Dans une semaine", "Dans un mois", "Choisir l'action de mise à jour", "Version actuelle", "Nouvelle version",
   "Oui", "Arrière-plan", "Plus tard", "Télécharger la mise à jour et l'installer maintenant.",
   "Télécharger la mise à jour en arrière-plan, et l'installer au prochain démarrage.",
   "Ne pas mettre à jour maintenant, et afficher cette fenêtre plus tard.", "Annuler le téléchargement ?",
   "Échec du téléchargement de la mise à jour.", "Échec de la sauvegarde.", "Échec de la décompression de la mise à jour.",
   "Échec de la copie des nouveaux fichiers.", "Échec de la suppression des fichiers/dossiers.", "Échec de l'écrasement.",
   "Échec du lancement.", "Échec de l'enregistrement.", "Nouvelle version téléchargée.", "La mise à jour va être installée.",
   "Patchora est déjà en cours d'exécution."],
 "ESN": ["Analizando la información de actualización...", "Descargando la actualización...", "Actualizando...",
   "Eliminando archivos temporales...", "Cerrando la actualización...", "Actualización terminada.\\n¿Ejecutar %1 ahora? ",
   "¿Cancelar la actualización?", "Se ha detectado una nueva versión.", "¿Desea actualizar ahora?", "En la próxima ejecución",
   "Mañana", "Dentro de 1 semana", "Dentro de 1 mes", "Seleccione la acción de actualización", "Versión actual", "Versión nueva",
   "Sí", "En segundo plano", "Más tarde", "Descargar la actualización e instalarla ahora.",
   "Descargar la actualización en segundo plano, e instalarla en la próxima ejecución.",
   "No actualizar ahora, y mostrar este diálogo más tarde.", "¿Cancelar la descarga?",
   "No se pudo descargar la actualización.", "No se pudo hacer la copia de seguridad.", "No se pudo descomprimir la actualización.",
   "No se pudieron copiar los archivos nuevos.", "No se pudieron eliminar archivos/carpetas.", "No se pudo sobrescribir.",
   "No se pudo ejecutar.", "No se pudo registrar.", "Versión nueva descargada.", "Se instalará la actualización.",
   "Patchora ya se está ejecutando."],
 "ITA": ["Analisi delle informazioni di aggiornamento...", "Download dell'aggiornamento...", "Aggiornamento in corso...",
   "Eliminazione dei file temporanei...", "Chiusura dell'aggiornamento...", "Aggiornamento completato.\\nAvviare %1 ora? ",
   "Annullare l'aggiornamento?", "È stata rilevata una nuova versione.", "Aggiornare ora?", "Al prossimo avvio",
   "Domani", "Tra 1 settimana", "Tra 1 mese", "Selezionare l'azione di aggiornamento", "Versione attuale", "Versione aggiornata",
   "Sì", "In background", "Più tardi", "Scaricare l'aggiornamento e installarlo ora.",
   "Scaricare l'aggiornamento in background, e installarlo al prossimo avvio.",
   "Non aggiornare ora, e mostrare questa finestra più tardi.", "Annullare il download?",
   "Impossibile scaricare l'aggiornamento.", "Backup non riuscito.", "Impossibile decomprimere l'aggiornamento.",
   "Impossibile copiare i nuovi file.", "Impossibile eliminare file/cartelle.", "Impossibile sovrascrivere.",
   "Impossibile avviare.", "Impossibile registrare.", "Versione aggiornata scaricata.", "L'aggiornamento verrà installato.",
   "Patchora è già in esecuzione."],
 "PTB": ["Analisando informações de atualização...", "Baixando a atualização...", "Atualizando...",
   "Excluindo arquivos temporários...", "Encerrando a atualização...", "Atualização concluída.\\nExecutar %1 agora? ",
   "Cancelar a atualização?", "Uma nova versão foi detectada.", "Deseja atualizar agora?", "Na próxima execução",
   "Amanhã", "Daqui a 1 semana", "Daqui a 1 mês", "Selecione a ação de atualização", "Versão atual", "Versão atualizada",
   "Sim", "Em segundo plano", "Mais tarde", "Baixar a atualização e instalar agora.",
   "Baixar a atualização em segundo plano, e instalar na próxima execução.",
   "Não atualizar agora, e mostrar esta janela mais tarde.", "Cancelar o download?",
   "Falha ao baixar a atualização.", "Falha no backup.", "Falha ao descompactar a atualização.",
   "Falha ao copiar os novos arquivos.", "Falha ao excluir arquivos/pastas.", "Falha ao substituir.",
   "Falha ao executar.", "Falha ao registrar.", "Versão atualizada baixada.", "A atualização será instalada.",
   "Patchora já está em execução."],
 "RUS": ["Анализ сведений об обновлении...", "Загрузка обновления...", "Обновление...",
   "Удаление временных файлов...", "Завершение обновления...", "Обновление завершено.\\nЗапустить %1 сейчас? ",
   "Отменить обновление?", "Обнаружена новая версия.", "Обновить сейчас?", "При следующем запуске",
   "Завтра", "Через неделю", "Через месяц", "Выберите действие", "Текущая версия", "Новая версия",
   "Да", "В фоне", "Позже", "Загрузить обновление и установить сейчас.",
   "Загрузить обновление в фоне и установить при следующем запуске.",
   "Не обновлять сейчас и показать это окно позже.", "Отменить загрузку?",
   "Не удалось загрузить обновление.", "Не удалось создать резервную копию.", "Не удалось распаковать обновление.",
   "Не удалось скопировать новые файлы.", "Не удалось удалить файлы/папки.", "Не удалось перезаписать.",
   "Не удалось запустить.", "Не удалось зарегистрировать.", "Новая версия загружена.", "Обновление будет установлено.",
   "Patchora уже запущен."],
 "KOR": ["업데이트 정보를 분석하는 중...", "업데이트 파일을 내려받는 중...", "업데이트하는 중...",
   "임시 파일을 삭제하는 중...", "업데이트를 마치는 중...", "업데이트가 끝났습니다.\\n지금 %1을(를) 실행할까요? ",
   "업데이트를 취소할까요?", "새 버전이 있습니다.", "지금 업데이트할까요?", "다음 실행 시",
   "내일", "1주 후", "1개월 후", "업데이트 방법 선택", "현재 버전", "새 버전",
   "예", "백그라운드", "나중에", "업데이트 파일을 내려받아 지금 설치합니다.",
   "백그라운드에서 업데이트 파일을 내려받고 다음 실행 시 설치합니다.",
   "지금은 업데이트하지 않고 나중에 다시 묻습니다.", "내려받기를 취소할까요?",
   "업데이트 파일을 내려받지 못했습니다.", "백업하지 못했습니다.", "업데이트 파일의 압축을 풀지 못했습니다.",
   "새 파일을 복사하지 못했습니다.", "파일/폴더를 삭제하지 못했습니다.", "덮어쓰지 못했습니다.",
   "실행하지 못했습니다.", "등록하지 못했습니다.", "새 버전을 내려받았습니다.", "업데이트를 설치합니다.",
   "Patchora가 이미 실행 중입니다."],
 "JPN": ["更新情報を確認しています...", "更新ファイルをダウンロードしています...", "更新しています...",
   "一時ファイルを削除しています...", "更新を終了しています...", "更新が完了しました。\\n%1 を今すぐ起動しますか? ",
   "更新を中止しますか?", "新しいバージョンが見つかりました。", "今すぐ更新しますか?", "次回起動時",
   "明日", "1 週間後", "1 か月後", "更新方法の選択", "現在のバージョン", "新しいバージョン",
   "はい", "バックグラウンド", "後で", "更新ファイルをダウンロードして今すぐインストールします。",
   "更新ファイルをバックグラウンドでダウンロードし、次回起動時にインストールします。",
   "今は更新せず、後でこの画面を表示します。", "ダウンロードを中止しますか?",
   "更新ファイルをダウンロードできませんでした。", "バックアップできませんでした。", "更新ファイルを展開できませんでした。",
   "新しいファイルをコピーできませんでした。", "ファイル/フォルダーを削除できませんでした。", "上書きできませんでした。",
   "起動できませんでした。", "登録できませんでした。", "新しいバージョンをダウンロードしました。", "更新をインストールします。",
   "Patchora はすでに実行中です。"],
 "CHS": ["正在分析更新信息...", "正在下载更新文件...", "正在更新...",
   "正在删除临时文件...", "正在关闭更新程序...", "更新完成。\\n现在运行 %1 吗? ",
   "取消更新吗?", "检测到新版本。", "现在更新吗?", "下次启动时",
   "明天", "1 周后", "1 个月后", "选择更新方式", "当前版本", "新版本",
   "是", "后台", "稍后", "下载更新文件并立即安装。",
   "在后台下载更新文件，下次启动时安装。",
   "现在不更新，稍后再显示此对话框。", "取消下载吗?",
   "无法下载更新文件。", "备份失败。", "无法解压更新文件。",
   "无法复制新文件。", "无法删除文件/文件夹。", "无法覆盖。",
   "无法运行。", "无法注册。", "新版本已下载。", "将安装更新。",
   "Patchora 已在运行。"],
 "CHT": ["正在分析更新資訊...", "正在下載更新檔案...", "正在更新...",
   "正在刪除暫存檔案...", "正在關閉更新程式...", "更新完成。\\n現在執行 %1 嗎? ",
   "取消更新嗎?", "偵測到新版本。", "現在更新嗎?", "下次啟動時",
   "明天", "1 週後", "1 個月後", "選擇更新方式", "目前版本", "新版本",
   "是", "背景", "稍後", "下載更新檔案並立即安裝。",
   "在背景下載更新檔案，下次啟動時安裝。",
   "現在不更新，稍後再顯示此對話方塊。", "取消下載嗎?",
   "無法下載更新檔案。", "備份失敗。", "無法解壓縮更新檔案。",
   "無法複製新檔案。", "無法刪除檔案/資料夾。", "無法覆寫。",
   "無法執行。", "無法註冊。", "新版本已下載。", "將安裝更新。",
   "Patchora 已在執行。"],
}

# Languages with the dialog texts translated; the rest falls back to English.
SHORT_IDS = [2107, 2108, 2109, 2110, 2111, 2112, 2113, 2114, 2115, 2116, 2117, 2118, 2131, 2132]
S = {
 "ARA": ["تم اكتشاف إصدار جديد.", "هل تريد التحديث الآن؟", "عند التشغيل التالي", "غدًا", "بعد أسبوع", "بعد شهر",
   "اختر إجراء التحديث", "الإصدار الحالي", "الإصدار الجديد", "نعم", "في الخلفية", "لاحقًا",
   "تم تنزيل الإصدار الجديد.", "سيتم تثبيت التحديث."],
 "FAR": ["نسخه جدید پیدا شد.", "اکنون به‌روزرسانی شود؟", "در اجرای بعدی", "فردا", "یک هفته بعد", "یک ماه بعد",
   "انتخاب نوع به‌روزرسانی", "نسخه فعلی", "نسخه جدید", "بله", "در پس‌زمینه", "بعداً",
   "نسخه جدید دانلود شد.", "به‌روزرسانی نصب خواهد شد."],
 "BUL": ["Открита е нова версия.", "Да се обнови ли сега?", "При следващото стартиране", "Утре", "След 1 седмица",
   "След 1 месец", "Изберете действие", "Текуща версия", "Нова версия", "Да", "Във фонов режим", "По-късно",
   "Новата версия е изтеглена.", "Обновлението ще бъде инсталирано."],
 "CES": ["Byla nalezena nová verze.", "Aktualizovat nyní?", "Při příštím spuštění", "Zítra", "Za týden", "Za měsíc",
   "Vyberte akci aktualizace", "Aktuální verze", "Nová verze", "Ano", "Na pozadí", "Později",
   "Nová verze byla stažena.", "Aktualizace bude nainstalována."],
 "DAN": ["Der er fundet en ny version.", "Vil du opdatere nu?", "Ved næste start", "I morgen", "Om 1 uge", "Om 1 måned",
   "Vælg opdateringshandling", "Aktuel version", "Ny version", "Ja", "I baggrunden", "Senere",
   "Ny version er hentet.", "Opdateringen bliver installeret."],
 "FIN": ["Uusi versio löytyi.", "Päivitetäänkö nyt?", "Seuraavalla käynnistyskerralla", "Huomenna", "Viikon kuluttua",
   "Kuukauden kuluttua", "Valitse päivitystapa", "Nykyinen versio", "Uusi versio", "Kyllä", "Taustalla", "Myöhemmin",
   "Uusi versio on ladattu.", "Päivitys asennetaan."],
 "IND": ["Versi baru ditemukan.", "Perbarui sekarang?", "Saat dijalankan berikutnya", "Besok", "1 minggu lagi",
   "1 bulan lagi", "Pilih tindakan pembaruan", "Versi saat ini", "Versi baru", "Ya", "Latar belakang", "Nanti",
   "Versi baru telah diunduh.", "Pembaruan akan dipasang."],
 "LTU": ["Rasta nauja versija.", "Atnaujinti dabar?", "Kitą kartą paleidus", "Rytoj", "Po savaitės", "Po mėnesio",
   "Pasirinkite atnaujinimo veiksmą", "Dabartinė versija", "Nauja versija", "Taip", "Fone", "Vėliau",
   "Nauja versija atsisiųsta.", "Atnaujinimas bus įdiegtas."],
 "NOR": ["En ny versjon er funnet.", "Vil du oppdatere nå?", "Ved neste oppstart", "I morgen", "Om 1 uke", "Om 1 måned",
   "Velg oppdateringshandling", "Gjeldende versjon", "Ny versjon", "Ja", "I bakgrunnen", "Senere",
   "Ny versjon er lastet ned.", "Oppdateringen blir installert."],
 "PLK": ["Wykryto nową wersję.", "Zaktualizować teraz?", "Przy następnym uruchomieniu", "Jutro", "Za tydzień",
   "Za miesiąc", "Wybierz sposób aktualizacji", "Bieżąca wersja", "Nowa wersja", "Tak", "W tle", "Później",
   "Pobrano nową wersję.", "Aktualizacja zostanie zainstalowana."],
 "ROM": ["A fost detectată o versiune nouă.", "Actualizați acum?", "La următoarea pornire", "Mâine", "Peste o săptămână",
   "Peste o lună", "Alegeți acțiunea de actualizare", "Versiunea curentă", "Versiunea nouă", "Da", "În fundal", "Mai târziu",
   "Versiunea nouă a fost descărcată.", "Actualizarea va fi instalată."],
 "SWE": ["En ny version har hittats.", "Vill du uppdatera nu?", "Vid nästa start", "I morgon", "Om 1 vecka", "Om 1 månad",
   "Välj uppdateringsåtgärd", "Aktuell version", "Ny version", "Ja", "I bakgrunden", "Senare",
   "Ny version har hämtats.", "Uppdateringen kommer att installeras."],
}

def line(text_id, text):
    if "," in text or text != text.strip():
        text = '"' + text.replace('"', '\\"') + '"'
    return "%d\t=\t%s" % (text_id, text)

def write(code, pairs):
    out = ["", "[AutoUpdate]"] + [line(i, t) for i, t in pairs]
    path = os.path.join(os.path.dirname(__file__), "..", "resources", "patchora", "Language", "l_" + code)
    with open(path, "wb") as f:
        f.write(b"\xef\xbb\xbf" + ("\r\n".join(out) + "\r\n").encode("utf-8"))

write("ENU", list(zip(range(2100, 2134), ENU)))
for code, texts in T.items():
    assert len(texts) == 34, code
    write(code, list(zip(range(2100, 2134), texts)))
for code, texts in S.items():
    assert len(texts) == len(SHORT_IDS), code
    write(code, list(zip(SHORT_IDS, texts)))

codes = ["ENU"] + list(T) + list(S)
assert len(codes) == 23
qrc = ['<RCC>', '  <qresource prefix="/Language">']
qrc += ['    <file alias="l_%s">Language/l_%s</file>' % (c, c) for c in sorted(codes)]
qrc += ['  </qresource>', '</RCC>', '']
with open(os.path.join(os.path.dirname(__file__), "..", "resources", "patchora", "language.qrc"), "w") as f:
    f.write("\n".join(qrc))
